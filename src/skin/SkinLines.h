#pragma once
// The text forms of the skin: a [Controls] line of an image or a label, and
// one value of the change list. Widget-free, so they can be fuzzed.
#include <string>
#include <utility>
#include <vector>

struct TSkinItem {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int SpriteX = 0, SpriteY = 0;
    int Code = 0;
    std::string Text;  // kept label caption
    std::string Link;  // label: the name of the image it belongs to
    std::string Value; // image: dial value
    std::string Name;
};

// Both item tables hold this many entries; the excess is ignored.
constexpr int kSkinTableSize = 400;
// A link word is one word of at most this many characters.
constexpr size_t kMaxLinkWord = 101;

// "L T W H:SX SY:Code"; fields missing at the end stay 0.
TSkinItem ParseImageLine(const std::string &line);
std::string FormatImageLine(const TSkinItem &item);

struct TLabelFlags {
    bool Transparent = false;
    char Alignment = 'L'; // 'L', 'R' or 'C'
};
// "L T W H:TA:link"; the link part may be missing.
TSkinItem ParseLabelLine(const std::string &line, TLabelFlags &flags);
std::string FormatLabelLine(const TSkinItem &item, const TLabelFlags &flags);

// What a [Controls] key makes: "Image" anywhere wins over "Label"; anything else is skipped.
enum class TSkinControlKind { None, Image, Label };
TSkinControlKind ControlKind(const std::string &name);

// The first control of a [Controls] section that the panel cannot hold: one
// placed or sized beyond farthest, an image larger than the panel, or the
// image that takes the images' area past maxImagePixels (each drawn state
// costs that much). Empty when every control fits. A control off the panel
// but within reach loads, as a hand-made skin may hide one there.
std::string OversizedControl(const std::vector<std::pair<std::string, std::string>> &controls, long long panelWidth,
                             long long panelHeight, long long farthest, long long maxImagePixels);

// One change-list value: function code, label text, dial value.
struct TSkinChange {
    int Code = 899;
    std::string LabelText;
    std::string Value;
};
TSkinChange SplitSkinChange(const std::string &text);
std::string JoinSkinChange(const TSkinChange &change);

// Label text of a function code assigned to an image; texts of codes 13 and
// above come from the language file.
std::string FunctionLabelText(int code);
