// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_dialogs_ui.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {
QWidget* Owner()
{
    return QApplication::activeWindow();
}

QString DialogFilter(const FileDialogRequest& request)
{
    return request.filter.isEmpty() ? QStringLiteral("*") : request.filter;
}

QString WithDefaultExtension(QString path, const FileDialogRequest& request)
{
    if (path.isEmpty() || request.defaultExtension.isEmpty())
        return path;
    const QString name = QFileInfo(path).fileName();
    if (!name.contains(QLatin1Char('.')))
        path += QLatin1Char('.') + request.defaultExtension;
    return path;
}
}  // namespace

void QtUserDialogs::ShowMessage(const QString& text)
{
    // A bare box: the text and one OK button, the program's name as caption.
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, Owner());
    box.exec();
}

bool QtUserDialogs::AskYesNo(const QString& caption, const QString& text)
{
    return QMessageBox::question(Owner(), caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

QString QtUserDialogs::AskOpenFile(const FileDialogRequest& request)
{
    QFileDialog dialog(Owner(), request.title, request.initialFolder, DialogFilter(request));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return WithDefaultExtension(dialog.selectedFiles().constFirst(), request);
}

QString QtUserDialogs::AskSaveFile(const FileDialogRequest& request)
{
    QFileDialog dialog(Owner(), request.title, request.initialFolder, DialogFilter(request));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return WithDefaultExtension(dialog.selectedFiles().constFirst(), request);
}
