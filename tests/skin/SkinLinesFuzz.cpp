// Any text read as a control line or a change-list value gives bounded fields
// that read back the same after they are written.
#include "SkinLines.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);

    const TSkinItem image = ParseImageLine(text);
    const TSkinItem imageBack = ParseImageLine(FormatImageLine(image));
    if (imageBack.Left != image.Left || imageBack.SpriteY != image.SpriteY || imageBack.Code != image.Code)
        std::abort();

    TLabelFlags flags, flagsBack;
    const TSkinItem label = ParseLabelLine(text, flags);
    if (label.Link.size() > kMaxLinkWord)
        std::abort();
    const TSkinItem labelBack = ParseLabelLine(FormatLabelLine(label, flags), flagsBack);
    if (labelBack.Link != label.Link || flagsBack.Transparent != flags.Transparent ||
        flagsBack.Alignment != flags.Alignment)
        std::abort();

    // Any box is judged without overflow.
    (void)OversizedControl({{"ImageA", text}, {"LabelA", text}}, 600, 400, 8192, 1 << 20);

    const TSkinChange change = SplitSkinChange(text);
    const std::string stored = JoinSkinChange(change);
    // Past 1000 characters the reader cuts what it keeps.
    if (stored.size() < 1000) {
        const TSkinChange back = SplitSkinChange(stored);
        if (back.Code != change.Code || back.LabelText != change.LabelText || back.Value != change.Value)
            std::abort();
    }
    return 0;
}
