#include "platform/ui/QtCommonDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

QString runOpen(const OpenFileRequest& r, QWidget* owner)
{
    QFileDialog dlg(owner, r.title);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(r.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::ReadOnly, false);
    dlg.setNameFilters(CommonDialogs::qtNameFilters(r.filter));
    if (!r.fileName.isEmpty()) {
        const QFileInfo fi(r.fileName);
        dlg.setDirectory(fi.absolutePath());
        dlg.selectFile(fi.fileName());
    } else if (!r.initialDir.isEmpty()) {
        dlg.setDirectory(r.initialDir);
    }
    dlg.setSizeGripEnabled(r.resizable);
    if (dlg.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dlg.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

} // namespace

QString QtCommonDialogs::openFile(const OpenFileRequest& request, QWidget* owner)
{
    return runOpen(request, owner);
}

QString QtCommonDialogs::openPicture(const OpenFileRequest& request, QWidget* owner)
{
    return runOpen(request, owner);
}
