#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "barcode/drawing_surface.h"

namespace paltrix::barcode {

// A surface that keeps every call, for tests of the layout and drawing steps.
// Text measures a fixed size per character.
class RecordingSurface final : public DrawingSurface {
 public:
  struct Rect {
    Box box;
    Colour colour = kNoColour;
    friend bool operator==(const Rect&, const Rect&) = default;
  };
  struct Text {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::string text;
    Font font;
    Colour colour = kNoColour;
  };

  explicit RecordingSurface(TextSize perCharacter = {10, 20}) : perCharacter_(perCharacter) {}

  void FillRect(const Box& box, Colour colour) override { rects.push_back({box, colour}); }
  void Erase(const Box& box) override { erased.push_back(box); }
  TextSize MeasureText(std::string_view text, const Font&) override {
    return {static_cast<std::int32_t>(text.size()) * perCharacter_.width, perCharacter_.height};
  }
  void DrawText(std::int32_t x, std::int32_t y, std::string_view text, const Font& font,
                Colour colour) override {
    texts.push_back({x, y, std::string(text), font, colour});
  }

  void Clear() {
    rects.clear();
    erased.clear();
    texts.clear();
  }

  std::vector<Rect> rects;
  std::vector<Box> erased;
  std::vector<Text> texts;

 private:
  TextSize perCharacter_;
};

}  // namespace paltrix::barcode
