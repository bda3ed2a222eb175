// Output targets that are not a plain file of the user's own: links, hard
// links, devices and FIFOs, files the user may not write, files of other
// owners, attributes, a read-only mount, an immutable file, and an update
// whose second file cannot be put in place. Each case says what the user
// counts on: the link stays a link and its target gets the new content, the
// device stays a device, protection is respected and kept, and the two files
// of an update change together or not at all.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fault_run.h"
#include "fixtures.h"

namespace faults {
namespace {

namespace fs = std::filesystem;

const std::string kOldList = "old observed list\n";
const std::string kOldLog = "old deletion log\n";
constexpr uid_t kNobody = 65534;

void write_star(const Scratch& dir) {
  write_file(dir / "params.dat", params_text());
  write_file(dir / "HD.wdt", wdt_text(20, 2));
  write_file(dir / "HD.obs", kOldList);
  write_file(dir / "HD.del", kOldLog);
}

// Mode "i" with threshold 20 mÅ: lines 10 to 19 go to the log, the others to
// the list.
RunOutcome run_threshold_update(const Scratch& dir, bool as_other_user = false) {
  RunSetup run = threshold_update_run(dir.path(), "20");
  run.as_other_user = as_other_user;
  return run_program(run);
}

// The files that the same update writes into a directory of plain files.
struct UpdateFiles {
  std::string list;
  std::string log;
};
const UpdateFiles& plain_update() {
  static const UpdateFiles files = [] {
    Scratch dir;
    write_star(dir);
    const RunOutcome outcome = run_threshold_update(dir);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    return UpdateFiles{*read_file(dir / "HD.obs"), *read_file(dir / "HD.del")};
  }();
  return files;
}

struct stat stat_of(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info;
}

std::string xattr_of(const std::string& path, const char* name) {
  char value[256];
  const ssize_t size = ::getxattr(path.c_str(), name, value, sizeof value);
  return size < 0 ? std::string("(none: ") + std::strerror(errno) + ")"
                  : std::string(value, static_cast<std::size_t>(size));
}

// An access ACL in the kernel's xattr form: owner rw, user nobody r, group r,
// mask r, others nothing.
std::string acl_blob() {
  std::string blob;
  auto put16 = [&](std::uint16_t v) { blob.append(reinterpret_cast<const char*>(&v), 2); };
  auto put32 = [&](std::uint32_t v) { blob.append(reinterpret_cast<const char*>(&v), 4); };
  put32(2);  // version
  const struct { std::uint16_t tag, perm; std::uint32_t id; } entries[] = {
      {0x01, 6, 0xffffffffu}, {0x02, 4, kNobody}, {0x04, 4, 0xffffffffu}, {0x10, 4, 0xffffffffu},
      {0x20, 0, 0xffffffffu}};
  for (const auto& e : entries) {
    put16(e.tag);
    put16(e.perm);
    put32(e.id);
  }
  return blob;
}

bool is_root() { return ::geteuid() == 0; }

// A case that cannot be set up on this machine says why; the table goes on.
struct Skip {
  std::string reason;
};

struct TargetCase {
  std::string name;
  // Sets up the directory; returns a reason when the machine cannot provide
  // the case.
  std::function<std::optional<Skip>(const Scratch&)> prepare;
  bool as_other_user;
  std::function<void(const Scratch&, const RunOutcome&)> check;
};

void run_cases(const std::vector<TargetCase>& cases) {
  std::string reason;
  const bool can_deny = can_deny_access(reason);
  for (const TargetCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.as_other_user && !can_deny) {
      std::printf("skipped \"%s\": %s\n", c.name.c_str(), reason.c_str());
      continue;
    }
    Scratch dir;
    write_star(dir);
    if (const std::optional<Skip> skip = c.prepare(dir)) {
      std::printf("skipped \"%s\": %s\n", c.name.c_str(), skip->reason.c_str());
      continue;
    }
    const RunOutcome outcome = run_threshold_update(dir, c.as_other_user);
    c.check(dir, outcome);
  }
}

void expect_success(const RunOutcome& outcome) {
  EXPECT_EQ(outcome.signal, 0) << outcome.err;
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(outcome.out.find("file update finished !"), std::string::npos) << outcome.out;
}

void expect_refused(const RunOutcome& outcome, const std::string& message, const std::string& reason) {
  EXPECT_EQ(outcome.signal, 0) << outcome.err;
  EXPECT_EQ(outcome.status, 2) << outcome.err;
  EXPECT_NE(outcome.err.find(message + ", unit 13, file HD.obs"), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find(reason), std::string::npos) << outcome.err;
  EXPECT_EQ(outcome.out.find("file update finished !"), std::string::npos) << outcome.out;
}

// No temporary file of ours is left in dir.
void expect_no_temporaries(const std::string& dir) {
  for (const std::string& name : list_dir(dir)) {
    EXPECT_EQ(name.find(".obs."), std::string::npos) << dir << "/" << name;
    EXPECT_EQ(name.find(".del."), std::string::npos) << dir << "/" << name;
  }
}

TEST(FileTargets, LinksAndOwnershipAreKept) {
  const UpdateFiles& expected = plain_update();
  const std::vector<TargetCase> cases = {
      {"symlinked .obs (relative link)",
       [](const Scratch& dir) -> std::optional<Skip> {
         fs::create_directory(dir / "shared");
         fs::rename(dir / "HD.obs", dir / "shared/HD.obs");
         fs::create_symlink("shared/HD.obs", dir / "HD.obs");
         return std::nullopt;
       },
       false,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_success(outcome);
         EXPECT_TRUE(fs::is_symlink(dir / "HD.obs"));
         EXPECT_EQ(read_file(dir / "shared/HD.obs"), expected.list);
         EXPECT_EQ(list_dir(dir / "shared"), std::vector<std::string>{"HD.obs"});
       }},
      {"symlinked .del through a chain of links (absolute, then relative)",
       [](const Scratch& dir) -> std::optional<Skip> {
         fs::create_directories(dir / "logs/all");
         fs::rename(dir / "HD.del", dir / "logs/all/HD.del");
         fs::create_symlink("all/HD.del", dir / "logs/current.del");
         fs::create_symlink(dir / "logs/current.del", dir / "HD.del");
         return std::nullopt;
       },
       false,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_success(outcome);
         EXPECT_TRUE(fs::is_symlink(dir / "HD.del"));
         EXPECT_TRUE(fs::is_symlink(dir / "logs/current.del"));
         EXPECT_EQ(read_file(dir / "logs/all/HD.del"), expected.log);
         expect_no_temporaries(dir / "logs/all");
       }},
      {"hard-linked .obs",
       [](const Scratch& dir) -> std::optional<Skip> {
         fs::create_hard_link(dir / "HD.obs", dir / "HD-copy.obs");
         return std::nullopt;
       },
       false,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_success(outcome);
         EXPECT_EQ(stat_of(dir / "HD.obs").st_ino, stat_of(dir / "HD-copy.obs").st_ino);
         EXPECT_EQ(stat_of(dir / "HD.obs").st_nlink, 2u);
         EXPECT_EQ(read_file(dir / "HD-copy.obs"), expected.list);
       }},
      {"dangling symlink: the new file is made where it points",
       [](const Scratch& dir) -> std::optional<Skip> {
         fs::remove(dir / "HD.obs");
         fs::create_directory(dir / "out");
         fs::create_symlink("out/HD.obs", dir / "HD.obs");
         return std::nullopt;
       },
       false,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_success(outcome);
         EXPECT_TRUE(fs::is_symlink(dir / "HD.obs"));
         EXPECT_EQ(read_file(dir / "out/HD.obs"), expected.list);
       }},
      {"file of another owner, mode 0640, updated by root",
       [](const Scratch& dir) -> std::optional<Skip> {
         if (!is_root()) return Skip{"needs root to give a file to another owner"};
         if (::chown((dir / "HD.obs").c_str(), kNobody, kNobody) != 0) return Skip{std::strerror(errno)};
         ::chmod((dir / "HD.obs").c_str(), 0640);
         return std::nullopt;
       },
       false,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_success(outcome);
         const struct stat info = stat_of(dir / "HD.obs");
         EXPECT_EQ(info.st_uid, kNobody);
         EXPECT_EQ(info.st_gid, kNobody);
         EXPECT_EQ(info.st_mode & 07777, 0640u);
         EXPECT_EQ(read_file(dir / "HD.obs"), expected.list);
       }},
      {"another user's file that the user may write: written in place, owner kept",
       [](const Scratch& dir) -> std::optional<Skip> {
         ::chmod((dir / "HD.obs").c_str(), 0666);  // root's, as the tests run
         ::chmod((dir / "HD.del").c_str(), 0666);
         return std::nullopt;
       },
       true,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_success(outcome);
         EXPECT_EQ(stat_of(dir / "HD.obs").st_uid, ::geteuid());
         EXPECT_EQ(stat_of(dir / "HD.obs").st_mode & 07777, 0666u);
         EXPECT_EQ(read_file(dir / "HD.obs"), expected.list);
         EXPECT_EQ(read_file(dir / "HD.del"), expected.log);
         expect_no_temporaries(dir.path());
       }},
      {"extended attribute and ACL",
       [](const Scratch& dir) -> std::optional<Skip> {
         const std::string path = dir / "HD.obs";
         const std::string acl = acl_blob();
         if (::setxattr(path.c_str(), "user.observer", "Vera", 4, 0) != 0)
           return Skip{std::string("user attributes: ") + std::strerror(errno)};
         if (::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0)
           return Skip{std::string("ACLs: ") + std::strerror(errno)};
         return std::nullopt;
       },
       false,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_success(outcome);
         EXPECT_EQ(xattr_of(dir / "HD.obs", "user.observer"), "Vera");
         EXPECT_EQ(xattr_of(dir / "HD.obs", "system.posix_acl_access"), acl_blob());
         EXPECT_EQ(read_file(dir / "HD.obs"), expected.list);
       }},
  };
  run_cases(cases);
}

TEST(FileTargets, ProtectedFilesAreRefusedBeforeAnythingIsWritten) {
  const auto both_old = [](const Scratch& dir, const std::string& list_path) {
    EXPECT_EQ(read_file(list_path), kOldList);
    EXPECT_EQ(read_file(dir / "HD.del"), kOldLog);
    expect_no_temporaries(dir.path());
  };
  const std::vector<TargetCase> cases = {
      {"own file made read-only (0444)",
       [](const Scratch& dir) -> std::optional<Skip> {
         if (is_root()) ::chown((dir / "HD.obs").c_str(), kNobody, kNobody);
         ::chmod((dir / "HD.obs").c_str(), 0444);
         return std::nullopt;
       },
       true,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_refused(outcome, "permission to access file denied", "Permission denied");
         both_old(dir, dir / "HD.obs");
         EXPECT_EQ(stat_of(dir / "HD.obs").st_mode & 07777, 0444u);
       }},
      {"file of another user in a directory the user may write",
       [](const Scratch& dir) -> std::optional<Skip> {
         ::chmod((dir / "HD.obs").c_str(), 0644);  // root's, as the tests run
         return std::nullopt;
       },
       true,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_refused(outcome, "permission to access file denied", "Permission denied");
         both_old(dir, dir / "HD.obs");
         EXPECT_EQ(stat_of(dir / "HD.obs").st_uid, ::geteuid());
       }},
      {"immutable file (chattr +i)",
       [](const Scratch& dir) -> std::optional<Skip> {
         const std::string command = "chattr +i " + (dir / "HD.obs") + " 2>/dev/null";
         if (std::system(command.c_str()) != 0) return Skip{"chattr +i is not possible here"};
         return std::nullopt;
       },
       false,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         std::system(("chattr -i " + (dir / "HD.obs")).c_str());
         expect_refused(outcome, "permission to access file denied", "Operation not permitted");
         both_old(dir, dir / "HD.obs");
       }},
      {"symlink into a read-only mount",
       [](const Scratch& dir) -> std::optional<Skip> {
         fs::create_directory(dir / "ro");
         if (::mount("tmpfs", (dir / "ro").c_str(), "tmpfs", 0, "size=64k") != 0)
           return Skip{std::string("cannot mount a tmpfs: ") + std::strerror(errno)};
         write_file(dir / "ro/HD.obs", kOldList);
         if (::mount(nullptr, (dir / "ro").c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
           ::umount((dir / "ro").c_str());
           return Skip{std::string("cannot remount read-only: ") + std::strerror(errno)};
         }
         fs::remove(dir / "HD.obs");
         fs::create_symlink("ro/HD.obs", dir / "HD.obs");
         return std::nullopt;
       },
       false,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         expect_refused(outcome, "permission to access file denied", "Read-only file system");
         both_old(dir, dir / "ro/HD.obs");
         EXPECT_TRUE(fs::is_symlink(dir / "HD.obs"));
         ::umount((dir / "ro").c_str());
       }},
      {"writable list in a directory where no file can be made",
       [](const Scratch& dir) -> std::optional<Skip> {
         if (is_root()) {
           ::chown((dir / "HD.obs").c_str(), kNobody, kNobody);
           ::chown((dir / "HD.del").c_str(), kNobody, kNobody);
         }
         ::chmod(dir.path().c_str(), 0555);
         return std::nullopt;
       },
       true,
       [&](const Scratch& dir, const RunOutcome& outcome) {
         // The report names the list and says that it is the temporary file
         // that could not be made.
         expect_refused(outcome, "permission to access file denied",
                        "cannot create a temporary file in the current directory: Permission denied");
         ::chmod(dir.path().c_str(), 0777);
         both_old(dir, dir / "HD.obs");
       }},
  };
  run_cases(cases);
}

TEST(FileTargets, NoInodeLeftSaysWhy) {
  if (!is_root()) GTEST_SKIP() << "needs root to mount a tmpfs";
  Scratch outer;
  const std::string dir = outer / "small";
  fs::create_directory(dir);
  if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=1m,nr_inodes=16,mode=0777") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs: " << std::strerror(errno);
  write_file(dir + "/params.dat", params_text());
  write_file(dir + "/HD.wdt", wdt_text(20, 2));
  write_file(dir + "/HD.obs", kOldList);
  for (int i = 0;; ++i) {  // use up every inode
    std::ofstream filler(dir + "/filler" + std::to_string(i));
    if (!filler) break;
  }
  const RunOutcome outcome = run_program(threshold_update_run(dir, "20"));
  EXPECT_EQ(outcome.status, 2) << outcome.err;
  EXPECT_NE(outcome.err.find("open failure, unit 13, file HD.obs"), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find("cannot create a temporary file in the current directory: No space left on device"),
            std::string::npos)
      << outcome.err;
  EXPECT_EQ(read_file(dir + "/HD.obs"), kOldList);
  ::umount(dir.c_str());
}

TEST(FileTargets, WhenTheSecondFileCannotBePutInPlaceTheFirstIsPutBack) {
  // The list lies in a directory that is append-only (chattr +a): a file can
  // be made there but not renamed, so the list cannot be put in place after
  // the log has been. The log must be put back.
  Scratch dir;
  write_star(dir);
  fs::create_directory(dir / "locked");
  fs::rename(dir / "HD.obs", dir / "locked/HD.obs");
  fs::create_symlink("locked/HD.obs", dir / "HD.obs");
  if (std::system(("chattr +a " + (dir / "locked") + " 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "chattr +a is not possible here";
  const RunOutcome outcome = run_threshold_update(dir);
  std::system(("chattr -a " + (dir / "locked")).c_str());
  EXPECT_EQ(outcome.status, 2) << outcome.err;
  EXPECT_NE(outcome.err.find("permission to access file denied, unit 13, file HD.obs"), std::string::npos)
      << outcome.err;
  EXPECT_NE(outcome.err.find("nothing was changed: HD.del and HD.obs are as before"), std::string::npos)
      << outcome.err;
  EXPECT_EQ(read_file(dir / "locked/HD.obs"), kOldList);
  EXPECT_EQ(read_file(dir / "HD.del"), kOldLog);
  expect_no_temporaries(dir.path());
}

TEST(FileTargets, TheDirectoryIsSyncedAfterTheFilesArePutInPlace) {
  // A power cut cannot be staged here; what the program asks of the kernel
  // can be watched: after the last rename, the directory is opened and synced.
  if (std::system("command -v strace >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
  Scratch dir;
  write_star(dir);
  RunSetup run;
  run.program = "/usr/bin/strace";
  run.args = {"-f", "-e", "trace=openat,renameat2,rename,fsync", "-o", dir / "trace", ironsift_path(),
               "HD", "i"};
  run.dir = dir.path();
  run.input = "20\ng\n";
  // The leak checker of a sanitizer build cannot work under a tracer.
  run.env = {{"MOD_DIR", std::nullopt}, {"ASAN_OPTIONS", "detect_leaks=0"}};
  const RunOutcome outcome = run_program(run);
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string trace = *read_file(dir / "trace");
  const std::size_t last_rename = std::max(trace.rfind("\"HD.obs\", RENAME_"), trace.rfind("\"HD.del\", RENAME_"));
  ASSERT_NE(last_rename, std::string::npos) << trace;
  const std::size_t open_dir = trace.find("openat(AT_FDCWD, \".\", O_RDONLY|O_CLOEXEC|O_DIRECTORY) = ", last_rename);
  ASSERT_NE(open_dir, std::string::npos) << trace.substr(last_rename);
  const std::size_t fd_at = trace.find(" = ", open_dir) + 3;
  const std::string fd = trace.substr(fd_at, trace.find('\n', fd_at) - fd_at);
  const std::size_t sync_at = trace.find("fsync(" + fd + ")", open_dir);
  ASSERT_NE(sync_at, std::string::npos) << trace.substr(last_rename);
  const std::string sync_line = trace.substr(sync_at, trace.find('\n', sync_at) - sync_at);
  EXPECT_EQ(sync_line.substr(sync_line.size() - 4), " = 0") << sync_line;
}

// wavepick's result file as a device, a FIFO or standard output.
struct WavepickRun {
  Scratch dir;
  std::string bin;
  WavepickRun() {
    fs::create_directories(dir / "velko/kbgfdos");
    write_file(dir / "velko/kbgfdos/GF0500.10", gf_text(5));
    write_file(dir / "model.dat", model_text());
    write_file(dir / "ready.csv", results_text(5));
    bin = install_moving_width(dir.path());
  }
  RunOutcome run_to(const std::string& output) const {
    RunSetup run;
    run.program = wavepick_path();
    run.args = {"4900", "5000", "26.00", "model.dat", "1.5", "7.5", "10.0", output};
    run.dir = dir.path();
    run.env = {{"VELKO", dir / "velko"}, {"PATH", bin + ":/usr/bin:/bin"}};
    return run_program(run);
  }
};

TEST(FileTargets, DevicesAndFifosAreWrittenInPlace) {
  std::string expected;
  {
    WavepickRun plain;
    ASSERT_EQ(plain.run_to("picked.out").status, 0);
    expected = *read_file(plain.dir / "picked.out");
    ASSERT_FALSE(expected.empty());
  }
  {
    SCOPED_TRACE("a device node (the null device, made with mknod)");
    WavepickRun r;
    if (::mknod((r.dir / "sink").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
      std::printf("skipped the device node: mknod: %s\n", std::strerror(errno));
    } else {
      const RunOutcome outcome = r.run_to("sink");
      EXPECT_EQ(outcome.status, 0) << outcome.err;
      EXPECT_TRUE(S_ISCHR(stat_of(r.dir / "sink").st_mode));
      EXPECT_EQ(stat_of(r.dir / "sink").st_rdev, makedev(1, 3));
    }
  }
  {
    SCOPED_TRACE("a FIFO with a reader");
    WavepickRun r;
    ASSERT_EQ(::mkfifo((r.dir / "pipe.out").c_str(), 0666), 0);
    std::string received;
    // Opened without waiting for a writer, so that a program that never
    // writes to the FIFO cannot hang the test: the reader gives up after a
    // while. A writer's close ends the data.
    const int fifo = ::open((r.dir / "pipe.out").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fifo, 0);
    std::thread reader([&] {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      char chunk[4096];
      while (std::chrono::steady_clock::now() < deadline) {
        pollfd wait_for{fifo, POLLIN, 0};
        ::poll(&wait_for, 1, 100);
        const ssize_t got = ::read(fifo, chunk, sizeof chunk);
        if (got > 0) received.append(chunk, static_cast<std::size_t>(got));
        else if (got == 0 && !received.empty()) break;  // the writer closed it
        else std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      ::close(fifo);
    });
    const RunOutcome outcome = r.run_to("pipe.out");
    reader.join();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(received, expected);
    EXPECT_TRUE(S_ISFIFO(stat_of(r.dir / "pipe.out").st_mode));
  }
  {
    // A link to the program's own standard output, as /dev/stdout is (made
    // in the scratch directory, so that a program that replaced the link
    // could not damage the machine's /dev/stdout).
    SCOPED_TRACE("a link to /proc/self/fd/1, like /dev/stdout");
    WavepickRun r;
    fs::create_symlink("/proc/self/fd/1", r.dir / "stdout");
    const RunOutcome outcome = r.run_to("stdout");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find(expected), std::string::npos) << outcome.out;
    EXPECT_TRUE(fs::is_symlink(r.dir / "stdout"));
    for (const std::string& name : list_dir(r.dir.path())) EXPECT_EQ(name.find("pipe:"), std::string::npos) << name;
  }
  {
    // The same link with standard output redirected to a file by the shell:
    // console records and result land in that file, in the order written,
    // none over another.
    SCOPED_TRACE("a link to /proc/self/fd/1 with standard output in a file");
    WavepickRun r;
    fs::create_symlink("/proc/self/fd/1", r.dir / "stdout");
    RunSetup run;
    run.program = "/bin/sh";
    run.args = {"-c", "exec \"$0\" 4900 5000 26.00 model.dat 1.5 7.5 10.0 stdout > console.txt",
                 wavepick_path()};
    run.dir = r.dir.path();
    run.env = {{"VELKO", r.dir / "velko"}, {"PATH", r.bin + ":/usr/bin:/bin"}};
    const RunOutcome outcome = run_program(run);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::string console = read_file(r.dir / "console.txt").value_or("");
    const std::size_t result_at = console.find(expected);
    EXPECT_NE(result_at, std::string::npos) << console;
    // wavepick writes its summary before it closes the result file.
    EXPECT_LT(console.find("ndiscard="), result_at) << console;
    EXPECT_EQ(result_at + expected.size(), console.size()) << console;
    EXPECT_TRUE(fs::is_symlink(r.dir / "stdout"));
  }
}

}  // namespace
}  // namespace faults
