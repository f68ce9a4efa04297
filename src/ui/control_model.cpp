#include "ui/control_model.h"

namespace pavrelin {

namespace {
struct KindRow {
  Kind kind;
  const char* name;
  bool container;
};
constexpr KindRow kKinds[] = {
    {Kind::Window, "窗口", true},       {Kind::EditBox, "编辑框", false},
    {Kind::PictureBox, "图片框", true}, {Kind::GroupBox, "分组框", true},
    {Kind::Label, "标签", false},       {Kind::Button, "按钮", false},
    {Kind::Timer, "时钟", false},       {Kind::BrowserBox, "超文本浏览框", false},
};

// LOGFONTA values: DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
// PROOF_QUALITY, DEFAULT_PITCH. Spelled out so the host build needs no Windows headers.
constexpr std::uint8_t kDefaultCharset = 1;
constexpr std::uint8_t kDefaultPrecision = 0;
constexpr std::uint8_t kProofQuality = 2;
constexpr std::uint8_t kPitchMask = 0x03;
}  // namespace

const char* KindName(Kind kind) {
  for (const KindRow& row : kKinds)
    if (row.kind == kind) return row.name;
  return "";
}

bool IsContainer(Kind kind) {
  for (const KindRow& row : kKinds)
    if (row.kind == kind) return row.container;
  return false;
}

FontRecord NormalisedForCreation(const FontRecord& stored) {
  FontRecord font = stored;
  font.char_set = kDefaultCharset;
  font.out_precision = kDefaultPrecision;
  font.clip_precision = kDefaultPrecision;
  font.quality = kProofQuality;
  font.pitch_and_family = static_cast<std::uint8_t>(stored.pitch_and_family & ~kPitchMask);
  return font;
}

}  // namespace pavrelin
