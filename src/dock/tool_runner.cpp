#include "dock/tool_runner.h"

#include <QFileInfo>
#include <QProcess>

QByteArray runTool(const QString& path, const QStringList& arguments)
{
    if (path.isEmpty())
        return {};
    QProcess process;
    // An absolute program path, so that no search of PATH can pick another tool.
    process.setProgram(QFileInfo(path).absoluteFilePath());
    process.setArguments(arguments);
    // No input: a tool that reads standard input sees its end at once instead of waiting.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return {};
    // Output is drained while waiting, so a tool that prints more than a pipe holds never
    // blocks; the exit status is not looked at.
    process.waitForFinished(-1);
    return process.readAllStandardOutput();
}
