#include "pictures.h"

#include <QFile>
#include <csetjmp>

// jpeglib.h needs size_t and FILE declared before it.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

// Resources of a static library are registered only when referenced.
static void RegisterPictureResources() { Q_INIT_RESOURCE(pictures); }

namespace quillon {
namespace {

// libjpeg reports a fatal error by calling error_exit, whose default ends the
// process; ours jumps back to the setjmp of the step that was running. The
// steps keep only trivially destructible objects in their frames, and the
// image being filled lives in the caller's frame, so the jump skips no
// destructor.
struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void StaySilent(j_common_ptr) {}

struct Decoder {
  jpeg_decompress_struct info;
  ErrorJump errors;
};

bool ReadHeader(Decoder& d, QByteArrayView bytes) {
  if (setjmp(d.errors.jump)) return false;
  jpeg_create_decompress(&d.info);
  jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&d.info, TRUE);
  d.info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d.info);
  return d.info.output_components == 3;
}

bool ReadPixels(Decoder& d, unsigned char* bits, qsizetype stride) {
  if (setjmp(d.errors.jump)) return false;
  while (d.info.output_scanline < d.info.output_height) {
    JSAMPROW row = bits + stride * d.info.output_scanline;
    jpeg_read_scanlines(&d.info, &row, 1);
  }
  jpeg_finish_decompress(&d.info);
  // Damaged data is only a warning to libjpeg, which then fills in grey.
  return d.errors.manager.num_warnings == 0;
}

class DecoderScope {
 public:
  explicit DecoderScope(Decoder& d) : d_(d) {
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = JumpOut;
    d.errors.manager.output_message = StaySilent;
  }
  // Also safe when creation failed: the zeroed object owns no memory then.
  ~DecoderScope() { jpeg_destroy_decompress(&d_.info); }
  DecoderScope(const DecoderScope&) = delete;
  DecoderScope& operator=(const DecoderScope&) = delete;

 private:
  Decoder& d_;
};

}  // namespace

QImage DecodeJpeg(QByteArrayView bytes) {
  if (bytes.isEmpty()) return {};
  Decoder decoder{};
  DecoderScope scope(decoder);
  if (!ReadHeader(decoder, bytes)) return {};
  QImage image(static_cast<int>(decoder.info.output_width),
               static_cast<int>(decoder.info.output_height), QImage::Format_RGB888);
  if (image.isNull() || !ReadPixels(decoder, image.bits(), image.bytesPerLine())) return {};
  return image;
}

QImage Picture(const QString& name) {
  [[maybe_unused]] static const bool registered = (RegisterPictureResources(), true);
  QFile file(":/pictures/" + name + ".jpg");
  if (!file.open(QIODevice::ReadOnly)) return {};
  return DecodeJpeg(file.readAll());
}

}  // namespace quillon
