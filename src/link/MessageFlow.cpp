// The message list and the protocol trace file.
#include "XmlLink.h"

#include "TraceFile.h"

bool TXmlLink::TraceEraseDue = true;

void TXmlLink::AddToList(const std::string &text)
{
    if (!ShowLive && text.find("Type=\"LIVE\"") != std::string::npos)
        return;
    const int selected = list_->ItemIndex();
    const bool followed = selected == list_->Count() - 1;
    std::string_view rest = text;
    for (;;) {
        const size_t crlf = rest.find("\r\n");
        while (list_->Count() > MaxList)
            list_->DeleteFirst();
        const std::string line = MaskPassword(std::string(rest.substr(0, crlf)));
        list_->Add(line);
        WriteTrace(line);
        if (crlf == std::string_view::npos)
            break;
        rest = rest.substr(crlf + 2, kValueWindow);
    }
    list_->SetItemIndex(followed ? list_->Count() - 1 : selected);
}

std::string TXmlLink::MaskPassword(std::string line)
{
    const std::string key = "Pass=\"";
    const size_t p = line.find(key);
    if (p == std::string::npos || GetAttr(line, "Type") != "OPEN")
        return line;
    const size_t start = p + key.size();
    size_t quote = line.find('"', start);
    if (quote == std::string::npos || quote - start >= kValueWindow)
        return line;
    return line.substr(0, start) + "*" + line.substr(quote);
}

void TXmlLink::WriteTrace(const std::string &line)
{
    if (!Trace)
        return;
    bool keep = false;
    // Both are built in place: a burst traces thousands of lines per turn.
    tracePath_.assign(DataDir).append("XML.trc");
    traceLine_.assign(line).append("\r\n");
    AppendToTrace(tracePath_, traceLine_, TraceErase ? TraceEraseDue : keep);
}
