#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "render/canvas.h"

namespace didod {

// Canvas that records an enhanced metafile (EMF) through libUEMF. One logical
// unit is one screen pixel of a 96-dpi reference screen; the picture frame is
// W x H pixels. Starts like the other canvases: black one-pixel solid pen, clear
// brush, black transparent text. Finish() closes the recording and hands out the
// file's bytes.
class EmfCanvas : public Canvas {
 public:
  EmfCanvas(int width, int height);
  ~EmfCanvas() override;
  EmfCanvas(const EmfCanvas&) = delete;
  EmfCanvas& operator=(const EmfCanvas&) = delete;

  void SetPenColour(Colour colour) override;
  void SetPenStyle(PenStyle style) override;
  void SetBrushSolid(Colour colour) override;
  void SetBrushClear() override;
  void SetFont(const std::string& family, int points) override;
  void Polygon(const std::vector<PixelPoint>& corners) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void TextOut(int x, int y, const std::string& text) override;

  // Ends the metafile and returns its bytes; the canvas takes no more drawing.
  std::vector<std::uint8_t> Finish();

 private:
  void Append(char* record);
  void SelectNewPen();
  void SelectNewBrush(bool solid, Colour colour);
  void SelectStock(std::uint32_t& current, std::uint32_t stock);
  void ReplaceObject(std::uint32_t& current, char* createRecord, std::uint32_t handle);

  struct Recording;  // libUEMF's track and handle table
  std::unique_ptr<Recording> rec_;
  bool finished_ = false;
  Colour penColour_ = kBlack;
  PenStyle penStyle_ = PenStyle::Solid;
  bool brushSolid_ = false;
  Colour brushColour_ = kWhite;
  std::uint32_t pen_ = 0;
  std::uint32_t brush_ = 0;
  std::uint32_t font_ = 0;
  std::string fontFamily_;
  int fontPixels_ = 0;
};

}  // namespace didod
