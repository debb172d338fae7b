#pragma once
// A panel that records what the skin engine calls on it, over a program
// folder and a data folder of its own.
#include "Nlsfunc.h"
#include "Paths.h"
#include "Skin.h"
#include "SkinHost.h"
#include "TempDir.h"
#include "Vcl.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMenu>

#include <memory>
#include <string>
#include <vector>

class TestPanel : public TForm, public TSkinHost {
public:
    explicit TestPanel(const TempDir &dir) : dir_(dir)
    {
        Image0 = new TImage(this);
        Image1 = new TImage(this);
        Image1->hide();
        resize(100, 80);
    }
    std::string DataDir() const override { return dir_.Path() + "data/"; }
    std::string IniFileName() const override { return dir_.Path() + "data/Talvodem.ini"; }
    QMenu *PopupMenuImg() override { return &menuImg; }
    QMenu *PopupMenuLab() override { return &menuLab; }
    void OnPanelButtonDown(int id) override { Log.push_back("down " + std::to_string(id)); }
    void OnPanelButtonUp(int id) override { Log.push_back("up " + std::to_string(id)); }
    void ExecutePanelFunction(int id, const std::string &name) override
    {
        Log.push_back("click " + std::to_string(id) + " " + name);
    }
    void OnPanelButtonDblClick(int id) override { Log.push_back("dbl " + std::to_string(id)); }
    void LookupDispNumber(const std::string &name) override { Log.push_back("lookup " + name); }
    void ShowDispNumber(const std::string &name) override { Log.push_back("show " + name); }

    TImage *Image0;
    TImage *Image1;
    QMenu menuImg, menuLab;
    std::vector<std::string> Log;

private:
    const TempDir &dir_;
};

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramDirForTesting(dir.Path() + "prog/");
        MakeDir("prog/Skins");
        MakeDir("data");
        WriteBytes(dir.File("prog/Talvodel.eng"), "[Texty]\r\n500=Skins|*.skn|All|*.skn;*.SKN\r\n5020=Twenty\r\n5150=Dial\r\n"
                                                  "[CommonHint]\r\n10005=Key five\r\n10011=Star key\r\n");
        Nls = &nls;
        nls.SetLanguage("eng");
        nls.LoadTexts();
    }
    void TearDown() override
    {
        skin.reset();
        panel.reset();
        Nls = nullptr;
        SetProgramDirForTesting("");
    }
    void MakeDir(const std::string &rel);
    // A sprite sheet whose every 10x10 cell is filled with one colour per column.
    void WriteSprite(const std::string &name);
    // A background with key-colour corners.
    void WriteBackground(const std::string &name, int w, int h, QRgb key);
    TSkin &Start(const std::string &skinName);
    // Start() on the small skin below, shipped as Phone.skn with its pictures.
    TSkin &StartPhone();

    TempDir dir;
    TNlsFunc nls;
    std::unique_ptr<TestPanel> panel;
    std::unique_ptr<TSkin> skin;
};

// A small skin: two images with a label each, one plain image, a clock label.
extern const char *const kPhoneSkin;
