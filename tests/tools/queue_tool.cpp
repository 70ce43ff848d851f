// Runs a queue of N ready 640x480 videos "clip I.avi" of FOLDER with the given encoder, keeping it in
// STORE, until it is done or killed; tests kill it mid-run and read what was kept, or hold the
// queue's lock with it (N = 0 runs nothing and holds the lock until killed).
// Usage: queue_tool STORE ENCODER FOLDER N [modern]
#include "tests/Requests.h"
#include "queue/QueueRunner.h"

#include <QCoreApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 5 && argc != 6) {
        return 2;
    }
    zvm::media::RealOutside outside;
    QueueRunner runner(outside, QString::fromLocal8Bit(argv[1]));
    const QDir folder(QString::fromLocal8Bit(argv[3]));
    for (int i = 1; i <= QString::fromLocal8Bit(argv[4]).toInt(); ++i) {
        zvm::ConversionRequest r = ReadyRequest(folder.filePath(QStringLiteral("clip %1.avi").arg(i)).toStdString(),
                                                folder.filePath(QStringLiteral("clip %1.mp4").arg(i)).toStdString());
        r.encoderPath = argv[2];
        runner.addReady(r, argc == 6 ? zvm::CommandStyle::Modern : zvm::CommandStyle::Classic);
    }
    if (QString::fromLocal8Bit(argv[4]).toInt() > 0) {
        QObject::connect(&runner, &QueueRunner::finishedAll, &app, &QCoreApplication::quit);
    }
    runner.start();
    return QCoreApplication::exec();
}
