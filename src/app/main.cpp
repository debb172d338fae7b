#include "Main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CTI Talvo"));
    TFMain main;
    main.show();
    return app.exec();
}
