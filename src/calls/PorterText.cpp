#include "PorterText.h"

namespace {

struct TFormat {
    int Id;
    const char *English;
};

const TFormat kDone = {7305, "Done."};
const TFormat kLoading = {7306, "Getting Document..."};
const TFormat kShare = {7307, "Getting Document: %1%"};
const TFormat kShareOfSize = {7308, "Getting Document: %1% of %2K"};

// Each %1 and %2 of the format replaced; a format without them says less.
std::string Fill(const std::string &format, const std::string &one, const std::string &two)
{
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == '1' || format[i + 1] == '2')) {
            out += format[++i] == '1' ? one : two;
            continue;
        }
        out += format[i];
    }
    return out;
}

} // namespace

std::string PorterProgressText(int progress, int maximum, const std::function<std::string(int)> &text)
{
    auto format = [&](const TFormat &f) {
        std::string s = text ? text(f.Id) : std::string();
        return s.empty() ? std::string(f.English) : s;
    };
    if (progress == -1)
        return format(kDone);
    if (maximum <= 0 || progress < 0)
        return format(kLoading);
    const long long percent = progress * 100LL / maximum;
    const int kilobytes = maximum / 1024;
    if (kilobytes == 0)
        return Fill(format(kShare), std::to_string(percent), "");
    return Fill(format(kShareOfSize), std::to_string(percent), std::to_string(kilobytes));
}
