#pragma once
// What the skin engine needs from the panel it dresses: where the user's files
// are, the two pop-up menus its controls carry, and the panel functions its
// images and labels call. The main panel implements it.
#include <string>

class QMenu;

class TSkinHost {
public:
    virtual ~TSkinHost() = default;

    // The per-user data folder, ending in '/'.
    virtual std::string DataDir() const = 0;
    // The program INI file (sections Skin and Skin-List).
    virtual std::string IniFileName() const = 0;

    // Pop-up menus of skin images (function below 900) and skin labels; null: none.
    virtual QMenu *PopupMenuImg() = 0;
    virtual QMenu *PopupMenuLab() = 0;

    // Images: mouse down and up only for functions below 900.
    virtual void OnPanelButtonDown(int id) = 0;
    virtual void OnPanelButtonUp(int id) = 0;
    virtual void ExecutePanelFunction(int id, const std::string &imageName) = 0;
    virtual void OnPanelButtonDblClick(int id) = 0;
    // Then the same double click by the image's name, for a panel that handles one image itself.
    virtual void OnImageDblClick(const std::string &imageName) {}
    // Labels.
    virtual void LookupDispNumber(const std::string &labelName) = 0;
    virtual void ShowDispNumber(const std::string &labelName) = 0;
    // A skin could not be loaded: text says which file and why.
    virtual void SkinRefused(const std::string &text) {}
    // Height of what the panel shows below the skin's face (its tool bar); 0 when nothing.
    virtual int BarHeight() const { return 0; }
    // A skin is on the panel, or none could be: the panel puts back what is its own.
    virtual void SkinShown() {}
};
