#include "panel/file_chooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPointer>
#include <QTimer>

namespace {

// Qt's own dialog, since no desktop chooser picks files and folders in one go: "Open" takes
// whatever is selected, folders included; a double click still walks into a folder.
class ItemChooser : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList selected = selectedFiles();
        const bool allThere = !selected.isEmpty() && std::all_of(selected.begin(), selected.end(),
                                                                 [](const QString& path) {
                                                                     return QFileInfo::exists(path);
                                                                 });
        if (allThere && fileMode() == QFileDialog::ExistingFiles) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

QStringList imageNameFilters()
{
    QStringList patterns;
    for (const QByteArray& type : QImageReader::supportedMimeTypes()) {
        const QMimeType mime = QMimeDatabase().mimeTypeForName(QString::fromLatin1(type));
        patterns += mime.globPatterns();
    }
    patterns.removeDuplicates();
    return {QFileDialog::tr("Images (%1)").arg(patterns.join(QLatin1Char(' ')))};
}

} // namespace

QStringList runFileChooser(const FileChoice& choice)
{
    ItemChooser dialog(nullptr, choice.message, choice.startFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog, choice.directories);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (choice.imagesOnly)
        dialog.setNameFilters(imageNameFilters());
    if (!choice.message.isEmpty())
        dialog.setLabelText(QFileDialog::LookIn, choice.message);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    // In front of every other program once it shows; exec() itself makes it modal.
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.raise();
        dialog.activateWindow();
    });
    const QPointer<QWidget> previous = QApplication::activeWindow();
    const int result = dialog.exec();
    // Some window managers leave the focus on the closed chooser: hand it back to the panel.
    if (previous && previous->isVisible())
        previous->activateWindow();
    if (result != QDialog::Accepted)
        return {};
    QStringList chosen = dialog.selectedFiles();
    if (choice.imagesOnly) {
        chosen.erase(
            std::remove_if(chosen.begin(), chosen.end(),
                           [](const QString& path) {
                               return !QMimeDatabase().mimeTypeForFile(path).name().startsWith(
                                   QLatin1String("image/"));
                           }),
            chosen.end());
    }
    return chosen;
}
