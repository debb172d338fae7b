#include "SkinFixture.h"

#include <QDir>
#include <QPainter>

const char *const kPhoneSkin = "[Set]\r\n"
                               "Width=120\r\n"
                               "Height=90\r\n"
                               "Background=back.png\r\n"
                               "Foreground=sprite.png\r\n"
                               "Type=2\r\n"
                               "Alpha=200\r\n"
                               "ColorKey=16711935\r\n"
                               "[Show]\r\n"
                               "Title=1\r\n"
                               "[Controls]\r\n"
                               "ImageD1=10 10 10 10:0 0:5\r\n"
                               "LabelD1=25 10 40 12:TL:ImageD1\r\n"
                               "ImageD2=10 30 10 10:0 10:11\r\n"
                               "LabelD2=25 30 40 12:FR:ImageD2\r\n"
                               "ImageHOOK=10 50 10 10:0 0:900\r\n"
                               "LabelCLOCK=60 60 50 12:TC\r\n"
                               "Other=1 2 3 4\r\n"
                               "[Fonts]\r\n"
                               "LabelD1-Color=000000FF\r\n"
                               "LabelD1-Def=1\r\n";

void SkinTest::MakeDir(const std::string &rel) { QDir().mkpath(QString::fromStdString(dir.File(rel))); }

void SkinTest::WriteSprite(const std::string &name)
{
    QImage sprite(40, 20, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};
    for (int cell = 0; cell < 4; ++cell) {
        QPainter p(&sprite);
        p.fillRect(cell * 10, 0, 10, 20, QColor(colours[cell]));
        // The bottom-left pixel of each top-row cell is the see-through colour.
        p.fillRect(cell * 10, 9, 1, 1, QColor(255, 0, 255));
    }
    sprite.save(QString::fromStdString(dir.File("prog/Skins/" + name)));
}

void SkinTest::WriteBackground(const std::string &name, int w, int h, QRgb key)
{
    QImage back(w, h, QImage::Format_RGB32);
    back.fill(qRgb(40, 40, 40));
    QPainter p(&back);
    p.fillRect(0, 0, 8, 8, QColor(key));
    p.fillRect(w - 8, h - 8, 8, 8, QColor(key));
    p.end();
    back.save(QString::fromStdString(dir.File("prog/Skins/" + name)));
}

TSkin &SkinTest::Start(const std::string &skinName)
{
    skin.reset(); // the engine goes before its panel, as in the program
    panel = std::make_unique<TestPanel>(dir);
    skin = std::make_unique<TSkin>(panel.get(), panel->Image0, panel->Image1);
    skin->SkinName = skinName;
    skin->LoadSkin();
    return *skin;
}

TSkin &SkinTest::StartPhone()
{
    WriteSprite("sprite.png");
    WriteBackground("back.png", 120, 90, qRgb(255, 0, 255));
    WriteBytes(dir.File("prog/Skins/Phone.skn"), kPhoneSkin);
    return Start("Phone.skn");
}
