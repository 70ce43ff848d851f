// Runs a queue of N ready videos with the given encoder, keeping it in STORE, until it is done or
// killed; tests kill it mid-run and read what was kept. Usage: queue_tool STORE ENCODER FOLDER N
#include "QueueRunner.h"

#include <QCoreApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        return 2;
    }
    zvm::media::RealOutside outside;
    QueueRunner runner(outside, QString::fromLocal8Bit(argv[1]));
    const QDir folder(QString::fromLocal8Bit(argv[3]));
    for (int i = 1; i <= QString::fromLocal8Bit(argv[4]).toInt(); ++i) {
        zvm::ConversionRequest r;
        r.encoderPath = argv[2];
        r.sourceVideo = folder.filePath(QStringLiteral("clip %1.avi").arg(i)).toStdString();
        r.outputPath = folder.filePath(QStringLiteral("clip %1.mp4").arg(i)).toStdString();
        r.width = "640";
        r.height = "480";
        r.videoBitrate = "256";
        r.audioBitrate = "32";
        r.sampleRate = "24000";
        runner.addReady(r, zvm::CommandStyle::Classic);
    }
    QObject::connect(&runner, &QueueRunner::finishedAll, &app, &QCoreApplication::quit);
    runner.start();
    return QCoreApplication::exec();
}
