// The yardstick for the answer path: a plain Qt program that reads the same
// stream from the exchange, cuts it at '>' and shows every piece in a label.
// Like the panel, it answers a granted log-in with a PBXINFO request, which
// tells the exchange that everything in front of it has been handled.
//   bare_consumer <port>
#include <QApplication>
#include <QByteArray>
#include <QLabel>
#include <QTcpSocket>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QLabel label;
    label.setTextFormat(Qt::PlainText);
    label.resize(400, 40);
    label.show();
    QTcpSocket socket;
    QByteArray pending;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        pending += socket.readAll();
        qsizetype start = 0;
        for (qsizetype gt; (gt = pending.indexOf('>', start)) >= 0; start = gt + 1) {
            const QByteArrayView piece(pending.constData() + start, gt + 1 - start);
            label.setText(QString::fromLatin1(piece));
            if (piece.contains("Type=\"OPEN\""))
                socket.write("<req Type=\"PBXINFO\"/>");
        }
        pending.remove(0, start);
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, &app, &QApplication::quit);
    socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(QByteArray(argv[1]).toUShort()));
    return app.exec();
}
