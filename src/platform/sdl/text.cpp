// Text drawn with SDL2_ttf into a 16-bit buffer (placeholder until the font renderer lands).
#include "platform/text.h"

namespace vane::platform {
namespace {
class NullText : public TextContext {
 public:
  void setTextColor(uint32_t) override {}
  void setTransparentBackground() override {}
  void textOut(int, int, std::string_view) override {}
};
}  // namespace

std::unique_ptr<TextContext> makeTextContext(uint16_t*, int, int, int, bool) {
  return std::make_unique<NullText>();
}

}  // namespace vane::platform
