// What the created controls do while the program runs: sprite states, label
// texts, function assignments and the change list.
#include "Fce.h"
#include "Nlsfunc.h"
#include "Skin.h"
#include "Vcl.h"

#include <climits>

namespace {

// The sprite cell, with the colour of its bottom-left pixel see-through.
QImage TransparentCell(const QImage &sprite, long long x, long long y, int w, int h)
{
    QImage cell(w, h, QImage::Format_ARGB32);
    if (cell.isNull())
        return cell;
    cell.fill(Qt::black);
    if (!sprite.isNull() && x >= INT_MIN && x <= INT_MAX && y >= INT_MIN && y <= INT_MAX) {
        QImage part = sprite.copy(QRect(static_cast<int>(x), static_cast<int>(y), w, h))
                          .convertToFormat(QImage::Format_ARGB32);
        if (!part.isNull())
            cell = part;
    }
    return BottomLeftSeeThrough(std::move(cell));
}

} // namespace

void TSkin::ClearLookups()
{
    controls_.clear();
    itemIndex_.clear();
    drawn_.clear();
}

void TSkin::RememberControl(const std::string &name, QWidget *control, int item)
{
    controls_.emplace(name, control);
    itemIndex_.emplace(name, item);
}

QWidget *TSkin::KnownControl(const std::string &name) const
{
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second.data();
}

// Controls of the skin come from the table; anything else on the panel is
// still found by name.
TImage *TSkin::FindImage(const std::string &name) const
{
    auto *image = qobject_cast<TImage *>(KnownControl(name));
    return image ? image : Owner->findChild<TImage *>(ToQ(name));
}

TLabel *TSkin::FindLabel(const std::string &name) const
{
    auto *label = qobject_cast<TLabel *>(KnownControl(name));
    return label ? label : Owner->findChild<TLabel *>(ToQ(name));
}

void TSkin::SetImageState(const std::string &name, int state)
{
    const int index = FindItem(name);
    if (index < 0)
        return;
    TImage *image = FindImage(name);
    if (!image)
        return;
    DrawnImage &drawn = drawn_[index];
    const QSize size = image->size();
    if (drawn.state == state && drawn.size == size)
        return;
    if (drawn.size != size) {
        drawn.cells.clear();
        drawn.size = size;
    }
    drawn.state = state;
    const TSkinItem &item = Items[static_cast<size_t>(index)];
    const int w = size.width(), h = size.height();
    if (w <= 0 || h <= 0) {
        image->SetPicture({});
        return;
    }
    auto cell = drawn.cells.find(state);
    if (cell == drawn.cells.end()) {
        const long long x = static_cast<long long>(item.SpriteX) + static_cast<long long>(state) * w;
        cell = drawn.cells.emplace(state, QPixmap::fromImage(TransparentCell(sprite_, x, item.SpriteY, w, h))).first;
    }
    image->SetPictureLater(cell->second);
}

bool TSkin::SetLabelText(const std::string &name, const std::string &text, int mode)
{
    TLabel *label = FindLabel(name);
    if (!label)
        return false;
    if (mode == 1001) {
        label->SetCaptionLater(text);
        return true;
    }
    std::string caption = label->Caption();
    if (mode == 1000)
        caption += text;
    else if (mode == 1002) {
        if (caption.size() > 1)
            caption.pop_back();
    } else
        caption = RightStr(caption, mode);
    label->SetCaptionLater(caption);
    return true;
}

void TSkin::GetImagePicture(const std::string &name, const std::vector<QPixmap> &list, int index)
{
    TImage *image = FindImage(name);
    if (!image)
        return;
    // The picture no longer shows a sprite state.
    if (auto it = itemIndex_.find(name); it != itemIndex_.end())
        drawn_.erase(it->second);
    if (list.empty()) {
        image->SetPicture({});
        return;
    }
    if (index >= 0 && static_cast<size_t>(index) < list.size()) {
        image->SetPictureLater(list[static_cast<size_t>(index)]);
        return;
    }
    // An entry the list does not have draws nothing into a picture of the list's size.
    QPixmap blank(list.front().size());
    blank.fill(Qt::transparent);
    image->SetPictureLater(blank);
}

void TSkin::AssignImageFunction(TImage *image, int code)
{
    if (!image)
        return;
    image->Tag = code;
    const std::string name = FromQ(image->objectName());
    if (FindLinkedItem(name) >= 0) {
        const std::string text = FunctionLabelText(code);
        RecordChange(name, code, kKeep, text);
        SetImageLabelText(name, text);
    } else {
        RecordChange(name, code, kKeep, kKeep);
    }
    PutHintsBack();
}

void TSkin::SetImageDial(TImage *image, int code, const std::string &value, const std::string &labelText)
{
    if (!image)
        return;
    const std::string name = FromQ(image->objectName());
    const int index = FindItem(name);
    if (index < 0)
        return;
    Items[static_cast<size_t>(index)].Value = value;
    image->Tag = code;
    PutHintsBack();
    SetImageLabelText(name, labelText);
    RecordChange(name, code, value, labelText);
}

void TSkin::SetImageLabelText(const std::string &imageName, const std::string &text)
{
    const int index = FindLinkedItem(imageName);
    if (index < 0)
        return;
    TLabel *label = FindLabel(Items[static_cast<size_t>(index)].Name);
    if (!label)
        return;
    label->SetCaption(text);
    RecordChange(imageName, -1, kKeep, text);
}

std::string TSkin::GetItemValue(const std::string &name) const
{
    const int index = FindItem(name);
    return index < 0 ? std::string() : Items[static_cast<size_t>(index)].Value;
}

std::string TSkin::GetImageLabelText(const std::string &imageName) const
{
    const int index = FindLinkedItem(imageName);
    if (index < 0)
        return {};
    TLabel *label = FindLabel(Items[static_cast<size_t>(index)].Name);
    return label ? label->Caption() : std::string();
}

void TSkin::RecordChange(const std::string &name, int code, const std::string &value, const std::string &labelText)
{
    if (name.compare(0, 6, "ImageD") != 0)
        return;
    auto entry = SkinList.end();
    for (auto it = SkinList.begin(); it != SkinList.end(); ++it)
        if (cp1250::EqualNoCase(it->first, name)) {
            entry = it;
            break;
        }
    const TSkinChange old = SplitSkinChange(entry == SkinList.end() ? std::string() : entry->second);
    TSkinChange change;
    change.Code = code == -1 ? old.Code : code;
    change.LabelText = labelText == kKeep ? old.LabelText : labelText;
    change.Value = value == kKeep ? old.Value : value;
    if (entry == SkinList.end())
        SkinList.emplace_back(name, JoinSkinChange(change));
    else
        entry->second = JoinSkinChange(change);
}

void TSkin::ApplySkinList()
{
    // By index: applying records each entry again in place.
    for (size_t i = 0; i < SkinList.size(); ++i) {
        TImage *image = FindImage(SkinList[i].first);
        if (!image)
            continue;
        const TSkinChange change = SplitSkinChange(SkinList[i].second);
        SetImageDial(image, change.Code, change.Value, change.LabelText);
    }
}

void TSkin::PutHintsBack()
{
    // Leave the language file as the caller had it.
    if (Nls)
        Nls->TranslateHints(Owner, !Nls->FileOpen());
}
