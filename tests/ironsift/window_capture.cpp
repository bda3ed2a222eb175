// Screenshots of an X11 window for the window tests, and their comparison.
//
//   window_capture shot WINDOW_ID OUT.png      the window's contents as a PNG
//   window_capture diff A.png B.png [OUT.png]  prints how many pixels differ
//                                              (and draws them red on A)
//
// DISPLAY names the X server. Exit status 0 on success, 2 on any failure
// (with the reason on standard error).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Picture {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> rgb;  // 3 bytes per pixel, rows top to bottom
};

[[noreturn]] void fail(const std::string& why) {
  std::fprintf(stderr, "window_capture: %s\n", why.c_str());
  std::exit(2);
}

void write_png(const Picture& picture, const char* path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = picture.width;
  image.height = picture.height;
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path, 0, picture.rgb.data(), 0, nullptr)) {
    fail(std::string("cannot write ") + path + ": " + image.message);
  }
}

Picture read_png(const char* path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) {
    fail(std::string("cannot read ") + path + ": " + image.message);
  }
  image.format = PNG_FORMAT_RGB;
  Picture picture;
  picture.width = image.width;
  picture.height = image.height;
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
    fail(std::string("cannot decode ") + path + ": " + image.message);
  }
  return picture;
}

// The number of bits to shift a colour mask right so that its lowest bit is bit 0.
int shift_of(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

int shot(const char* window_text, const char* path) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) fail("cannot open the display");
  const Window window = static_cast<Window>(std::strtoul(window_text, nullptr, 0));
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) fail("no such window");
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) fail("cannot read the window's contents");
  Picture picture;
  picture.width = static_cast<unsigned>(attributes.width);
  picture.height = static_cast<unsigned>(attributes.height);
  picture.rgb.resize(std::size_t{picture.width} * picture.height * 3);
  const int shifts[3] = {shift_of(image->red_mask), shift_of(image->green_mask),
                         shift_of(image->blue_mask)};
  const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
  for (unsigned y = 0; y < picture.height; ++y) {
    for (unsigned x = 0; x < picture.width; ++x) {
      const unsigned long pixel = XGetPixel(image, static_cast<int>(x), static_cast<int>(y));
      for (int c = 0; c < 3; ++c) {
        const unsigned long top = masks[c] >> shifts[c];
        const unsigned long value = (pixel & masks[c]) >> shifts[c];
        picture.rgb[(std::size_t{y} * picture.width + x) * 3 + static_cast<unsigned>(c)] =
            static_cast<std::uint8_t>(top == 0 ? 0 : value * 255 / top);
      }
    }
  }
  XDestroyImage(image);
  XCloseDisplay(display);
  write_png(picture, path);
  return 0;
}

int diff(const char* a_path, const char* b_path, const char* out_path) {
  Picture a = read_png(a_path);
  const Picture b = read_png(b_path);
  if (a.width != b.width || a.height != b.height) fail("the pictures differ in size");
  long differing = 0;
  for (std::size_t i = 0; i < a.rgb.size(); i += 3) {
    if (a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2]) {
      ++differing;
      a.rgb[i] = 255;
      a.rgb[i + 1] = 0;
      a.rgb[i + 2] = 0;
    }
  }
  if (out_path != nullptr) write_png(a, out_path);
  std::printf("%ld\n", differing);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "shot" && argc == 4) return shot(argv[2], argv[3]);
  if (command == "diff" && (argc == 4 || argc == 5)) {
    return diff(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
  }
  std::fprintf(stderr,
               "usage: window_capture shot WINDOW_ID OUT.png\n"
               "       window_capture diff A.png B.png [OUT.png]\n");
  return 2;
}
