#include "LineRequest.h"

#include "Xml.h"

void SendLineRequest(const std::string &type, int handle, const std::string &act,
                     std::initializer_list<std::pair<const char *, std::string>> attrs)
{
    if (!FXML)
        return;
    FXML->BeginRequest("<req");
    FXML->AddAttr("Type", type);
    FXML->AddAttrInt("Handle", handle);
    FXML->AddAttr("Act", act);
    for (const auto &[name, value] : attrs)
        FXML->AddAttr(name, value);
    FXML->Append("/>");
    FXML->Send();
}
