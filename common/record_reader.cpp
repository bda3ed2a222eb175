// Reading record files and texts in memory.
#include "record_reader.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file_naming.h"
#include "formatted_io.h"
#include "lablen.h"
#include "list_read.h"
#include "report.h"

namespace velko {
namespace {

constexpr std::size_t kChunk = 1 << 20;         // bytes read from a file at a time
constexpr std::size_t kMaxRecordLength = 1 << 20;  // longer records are cut here
// Bytes of a regular file mapped at a time: more than the longest record
// kept, so that a record always fits in one window.
constexpr std::size_t kWindow = 4 << 20;

std::size_t page_size() {
  static const std::size_t size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return size;
}

// A mapped file that shrinks while it is read (another program truncates it)
// makes the pages past its new end fault with SIGBUS. The handler puts zero
// pages in their place from the faulting page to the window's end, so that
// the access in progress completes, and marks the window; its reader then
// ends the file there as a read failure, as a failing read() would. Each
// reader with a mapped file holds one slot while it is open; a reader that
// finds no free slot reads its file into a buffer instead.
struct WindowSlot {
  std::atomic<bool> taken{false};
  std::atomic<std::uintptr_t> start{0};
  std::atomic<std::size_t> size{0};
  std::atomic<bool> lost{false};
};
constexpr int kWindowSlots = 16;
WindowSlot window_slots[kWindowSlots];
std::size_t handler_page_size = 4096;
struct sigaction previous_bus_action {};

extern "C" void on_bus_error(int, siginfo_t* info, void*) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (WindowSlot& slot : window_slots) {
    const std::uintptr_t start = slot.start.load();
    const std::size_t size = slot.size.load();
    if (size == 0 || address < start || address >= start + size) continue;
    const std::uintptr_t page = address - address % handler_page_size;
    void* zeros = ::mmap(reinterpret_cast<void*>(page), start + size - page, PROT_READ,
                         MAP_PRIVATE | MAP_FIXED | MAP_ANONYMOUS, -1, 0);
    if (zeros != MAP_FAILED) {
      slot.lost.store(true);
      return;
    }
  }
  // Not a window of a reader: the fault is handled as it was before.
  ::sigaction(SIGBUS, &previous_bus_action, nullptr);
}

int claim_window_slot() {
  static const bool installed = [] {
    handler_page_size = page_size();
    struct sigaction action {};
    action.sa_sigaction = on_bus_error;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGBUS, &action, &previous_bus_action) == 0;
  }();
  if (!installed) return -1;
  for (int i = 0; i < kWindowSlots; ++i) {
    bool free = false;
    if (window_slots[i].taken.compare_exchange_strong(free, true)) {
      window_slots[i].lost.store(false);
      return i;
    }
  }
  return -1;
}

}  // namespace

// Feeds a formatted or free-format read with the reader's records. A read
// failure of the platform is kept by the reader itself (read_failed_), which
// the read checks after the supply runs dry.
class ReaderSupply final : public RecordSupply {
 public:
  explicit ReaderSupply(RecordReader& reader) : reader_(reader) {}
  bool next(std::string_view& record) override { return reader_.next_record(record); }

 private:
  RecordReader& reader_;
};

bool file_exists(std::string_view name) {
  struct stat info {};
  return ::stat(file_name_of(name).c_str(), &info) == 0;
}

RecordReader RecordReader::open_file(std::string_view name, int unit, bool create_if_missing) {
  RecordReader reader;
  reader.name_ = file_name_of(name);
  reader.unit_ = unit;
  // Without blocking: a FIFO must not hang the open; it is refused below.
  int fd = ::open(reader.name_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0 && errno == ENOENT) {
    if (!create_if_missing) {
      reader.eof_ = true;  // a missing file reads as empty
      return reader;
    }
    fd = ::open(reader.name_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
  }
  if (fd < 0) {
    const int err = errno;
    io_fatal(open_error_of(err), unit, reader.name_, {}, {err, {}});
  }
  // Only a regular file is a record file: a directory, a FIFO or a device
  // (which could block or never end) is refused.
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int err = errno;
    const std::string_view kind = info.st_mode != 0 ? kind_of_non_regular(info.st_mode) : "";
    ::close(fd);
    io_fatal(IoError::OpenFailure, unit, reader.name_, {}, {kind.empty() ? err : 0, kind});
  }
  reader.fd_ = fd;
  // A regular file is mapped window by window; anything else (a pipe, a
  // device, a file that says it is empty, as those of /proc do) is read into
  // a buffer.
  if (S_ISREG(info.st_mode) && info.st_size > 0 &&
      (reader.window_slot_ = claim_window_slot()) >= 0) {
    reader.mapped_ = true;
  } else {
    reader.buffer_.reset(new char[kChunk]);
    reader.capacity_ = kChunk;
    reader.data_ = reader.buffer_.get();
  }
  return reader;
}

RecordReader RecordReader::from_text(std::string_view text) {
  RecordReader reader;
  reader.internal_ = true;
  reader.texts_.emplace_back(text);
  reader.eof_ = true;
  return reader;
}

RecordReader RecordReader::from_text(std::string_view text, const RecordOrigin& origin) {
  RecordReader reader = from_text(text);
  reader.reported_as_origin_ = true;
  reader.name_ = std::string(origin.file);
  reader.unit_ = origin.unit;
  reader.record_number_ = origin.record_number - 1;  // reading the text makes it that record
  return reader;
}

RecordReader RecordReader::from_texts(std::span<const std::string> texts) {
  RecordReader reader;
  reader.internal_ = true;
  reader.texts_.assign(texts.begin(), texts.end());
  reader.eof_ = true;
  return reader;
}

RecordReader::RecordReader(RecordReader&& other) noexcept { *this = std::move(other); }

RecordReader& RecordReader::operator=(RecordReader&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    other.fd_ = -1;
    unit_ = other.unit_;
    internal_ = other.internal_;
    reported_as_origin_ = other.reported_as_origin_;
    name_ = std::move(other.name_);
    texts_ = std::move(other.texts_);
    next_text_ = other.next_text_;
    buffer_ = std::move(other.buffer_);
    capacity_ = other.capacity_;
    other.capacity_ = 0;
    data_ = other.data_;
    other.data_ = nullptr;
    mapped_ = other.mapped_;
    window_offset_ = other.window_offset_;
    window_size_ = other.window_size_;
    other.window_size_ = 0;
    window_slot_ = other.window_slot_;
    other.window_slot_ = -1;
    begin_ = other.begin_;
    end_ = other.end_;
    eof_ = other.eof_;
    other.begin_ = other.end_ = 0;  // the bytes went with the storage
    other.eof_ = true;
    read_failed_ = other.read_failed_;
    skipping_ = other.skipping_;
    saw_line_feed_ = other.saw_line_feed_;
    saw_carriage_return_ = other.saw_carriage_return_;
    record_number_ = other.record_number_;
  }
  return *this;
}

RecordReader::~RecordReader() { close(); }

void RecordReader::close() {
  unmap_window();
  if (window_slot_ >= 0) window_slots[window_slot_].taken.store(false);
  window_slot_ = -1;
  if (mapped_) {  // a closed mapped file has nothing at hand
    begin_ = end_ = 0;
    eof_ = true;
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void RecordReader::unmap_window() {
  if (mapped_ && window_size_ > 0) {
    window_slots[window_slot_].size.store(0);
    ::munmap(const_cast<char*>(data_), window_size_);
    data_ = nullptr;
    window_size_ = 0;
  }
}

bool RecordReader::window_lost() {
  if (!mapped_ || window_slot_ < 0 || !window_slots[window_slot_].lost.load()) return false;
  read_failed_ = true;
  eof_ = true;
  end_ = begin_;  // what is left of the window is not the file's
  return true;
}

// Maps the next window of the file: from the page that holds the first
// unconsumed byte, so that the unconsumed bytes stay at hand, to at most
// kWindow bytes further (more when the unconsumed bytes fill a window). The
// file's size is asked anew each time, as a read would find a file that grew.
bool RecordReader::map_next_window() {
  if (window_lost()) return false;
  const std::size_t consumed_to = window_offset_ + begin_;
  const std::size_t known_end = window_offset_ + end_;
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    read_failed_ = true;
    eof_ = true;
    return false;
  }
  const auto file_size = static_cast<std::size_t>(info.st_size);
  if (file_size <= known_end) {
    reach_end_of_data();
    return false;
  }
  const std::size_t offset = consumed_to - consumed_to % page_size();
  std::size_t size = kWindow;
  while (size - page_size() <= known_end - offset) size *= 2;
  size = std::min(size, file_size - offset);
  void* window = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd_, static_cast<off_t>(offset));
  if (window == MAP_FAILED) {
    read_failed_ = true;
    eof_ = true;
    return false;
  }
  ::madvise(window, size, MADV_SEQUENTIAL);
  unmap_window();
  data_ = static_cast<const char*>(window);
  window_size_ = size;
  window_slots[window_slot_].start.store(reinterpret_cast<std::uintptr_t>(window));
  window_slots[window_slot_].size.store(size);
  window_offset_ = offset;
  begin_ = consumed_to - offset;
  end_ = size;
  note_line_ends(data_ + (known_end - offset), size - (known_end - offset));
  return true;
}

bool RecordReader::fill() {
  if (eof_ || fd_ < 0) return false;
  if (mapped_) return map_next_window();
  if (begin_ > 0) {  // keep the unconsumed bytes at the front
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == capacity_) {
    std::unique_ptr<char[]> larger(new char[capacity_ * 2]);
    std::memcpy(larger.get(), buffer_.get(), end_);
    buffer_ = std::move(larger);
    capacity_ *= 2;
    data_ = buffer_.get();
  }
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.get() + end_, capacity_ - end_);
    if (got > 0) {
      note_line_ends(buffer_.get() + end_, static_cast<std::size_t>(got));
      end_ += static_cast<std::size_t>(got);
      return true;
    }
    if (got == 0) {
      reach_end_of_data();
      return false;
    }
    if (errno == EINTR) continue;
    read_failed_ = true;
    eof_ = true;
    return false;
  }
}

void RecordReader::note_line_ends(const char* bytes, std::size_t size) {
  if (saw_line_feed_) return;  // a file with line feeds has records; nothing to tell
  if (std::memchr(bytes, '\n', size) != nullptr) {
    saw_line_feed_ = true;
    return;
  }
  if (!saw_carriage_return_ && std::memchr(bytes, '\r', size) != nullptr) saw_carriage_return_ = true;
}

// The end of the file's data: a file that held carriage returns but no line
// feed (old Mac line ends) is one record, which is worth a warning.
void RecordReader::reach_end_of_data() {
  eof_ = true;
  if (saw_carriage_return_ && !saw_line_feed_ && !warned_line_ends_) {
    warned_line_ends_ = true;
    warn(name_ + " holds carriage returns but no line feed: records end only at a line feed, "
         "so the file reads as a single record");
  }
}

bool RecordReader::next_record(std::string_view& record) {
  if (internal_) {
    if (next_text_ >= texts_.size()) return false;
    record = texts_[next_text_++];
    ++record_number_;
    return true;
  }
  if (read_failed_) return false;
  for (;;) {
    const char* start = data_ + begin_;
    const std::size_t available = end_ - begin_;
    // An empty buffer may have no storage yet: memchr must not see a null pointer.
    const void* lf = available > 0 ? std::memchr(start, '\n', available) : nullptr;
    if (window_lost()) return false;
    if (lf != nullptr || (eof_ && available > 0)) {
      const std::size_t length = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : available;
      begin_ += lf ? length + 1 : length;
      std::size_t kept = length;
      if (kept > 0 && start[kept - 1] == '\r') --kept;
      if (skipping_) {  // the tail of an over-long record: not a record of its own
        skipping_ = false;
        continue;
      }
      // A record longer than the limit is cut there, however much of it is at hand.
      record = std::string_view(start, std::min(kept, kMaxRecordLength));
      ++record_number_;
      return true;
    }
    if (available >= kMaxRecordLength && !skipping_) {
      // An over-long record: keep its first kMaxRecordLength characters and
      // skip the rest up to its line end.
      record = std::string_view(start, kMaxRecordLength);
      begin_ += kMaxRecordLength;
      skipping_ = true;
      ++record_number_;
      return true;
    }
    if (skipping_ && available > 0) {
      begin_ = end_;  // drop the middle of the over-long record
      continue;
    }
    if (!fill()) {
      if (end_ - begin_ > 0) continue;  // a last record without a line feed
      return false;
    }
  }
}

std::string_view RecordReader::bytes_at_hand() const {
  if (internal_ || skipping_ || read_failed_ || end_ == begin_) return {};
  if (mapped_ && (window_slot_ < 0 || window_slots[window_slot_].lost.load())) return {};
  return std::string_view(data_ + begin_, end_ - begin_);
}

void RecordReader::take_records(std::size_t bytes, long records) {
  begin_ += bytes;
  record_number_ += records;
}

bool RecordReader::more_bytes() {
  if (internal_ || read_failed_ || window_lost()) return false;
  const std::size_t before = end_ - begin_;
  return fill() && end_ - begin_ > before;
}

void RecordReader::fail(IoError error, std::string_view record, bool at_end) const {
  // A text of a file that runs out of values is shown as the record it is.
  if (reported_as_origin_)
    io_fatal(error, unit_, name_, RecordPlace{record_number_, texts_.front(), false});
  io_fatal(error, unit_, name_, RecordPlace{record_number_, record, at_end});
}

Outcome RecordReader::finish(Outcome outcome, IoError error, std::string_view record,
                             bool at_end, Handled handled) const {
  if (outcome_is_handled(outcome, handled)) return outcome;
  fail(error, record, at_end);
}

Outcome RecordReader::read_record(std::string_view& record, Handled handled) {
  if (internal_ && !reported_as_origin_) name_ = std::string(kInternalFormattedRead);
  if (next_record(record)) return Outcome::Done;
  if (read_failed_) return finish(Outcome::Error, IoError::ReadFailure, {}, false, handled);
  return finish(Outcome::EndOfFile, IoError::EndOfFile, {}, true, handled);
}

Outcome RecordReader::read_text(std::string& text, std::size_t n, Handled handled) {
  std::string_view record;
  const Outcome outcome = read_record(record, handled);
  if (outcome == Outcome::Done) text = fixed_text(record, n);
  return outcome;
}

Outcome RecordReader::read_formatted(const Layout& layout, std::span<const InTarget> targets,
                                     Handled handled) {
  if (internal_ && !reported_as_origin_) name_ = std::string(kInternalFormattedRead);
  ReaderSupply supply(*this);
  ReadFailure failure;
  const Outcome outcome = read_formatted_records(layout, targets, supply, failure);
  if (outcome == Outcome::Done) return outcome;
  if (read_failed_) return finish(Outcome::Error, IoError::ReadFailure, {}, false, handled);
  return finish(outcome, failure.error, failure.record, outcome == Outcome::EndOfFile, handled);
}

Outcome RecordReader::read_list(std::span<const InTarget> targets, Handled handled) {
  if (internal_ && !reported_as_origin_) name_ = std::string(kInternalListRead);
  ReaderSupply supply(*this);
  ReadFailure failure;
  const Outcome outcome = read_list_records(targets, supply, failure);
  if (outcome == Outcome::Done) return outcome;
  if (read_failed_) return finish(Outcome::Error, IoError::ReadFailure, {}, false, handled);
  return finish(outcome, failure.error, failure.record, outcome == Outcome::EndOfFile, handled);
}

Outcome read_list_text(std::string_view text, std::span<const InTarget> targets, Handled handled) {
  RecordReader reader = RecordReader::from_text(text);
  return reader.read_list(targets, handled);
}

Outcome read_formatted_text(std::string_view text, const Layout& layout,
                            std::span<const InTarget> targets, Handled handled) {
  RecordReader reader = RecordReader::from_text(text);
  return reader.read_formatted(layout, targets, handled);
}

}  // namespace velko
