// SPDX-License-Identifier: GPL-3.0-or-later
// The workspace's test point set and Measurements table workflow.
#include "workspace/workspace.h"

#include "platform/settings.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"
#include "testpoints/hidden_files.h"
#include "platform/fields.h"
#include "testpoints/table_layouts.h"
#include "testpoints/table_schema.h"

#include <QFile>
#include <QFileInfo>

namespace {
// The side file an older engine kept beside a table: the name with its last
// two characters ("db") replaced by "VAL".
QString SideValFile(const QString& path)
{
    return path.left(path.size() - 2) + QStringLiteral("VAL");
}

bool SameFile(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}
}  // namespace

FileDialogRequest Workspace::TableDialog(const QString& folder, bool defaultExtension, bool confirmOverwrite)
{
    FileDialogRequest request;
    request.filter = texts::kParadoxFilter.English();
    request.defaultExtension = defaultExtension ? QStringLiteral("db") : QString();
    request.initialFolder = folder;
    request.confirmOverwrite = confirmOverwrite;
    request.mustExist = true;
    return request;
}

bool Workspace::RefusedAsHeld(const QString& file, const Dataset* user)
{
    // The engine knows every file an open dataset holds, however its path is
    // spelled; the user's own open file is its to replace.
    const bool ownFile = user->IsOpen() && SameFile(file, user->FilePath());
    const bool held = (user != &AcquiredTable && SameFile(file, WorkingCopyPath())) ||
                      (!ownFile && IsTableHeld(file));
    if (held)
        if (const auto text = Pick(settings, texts::kTableHeldOpen))
            dialogs.ShowMessage(text->arg(QFileInfo(file).absoluteFilePath()));
    return held;
}

bool Workspace::CloseTestPointSet()
{
    if (!AcquiredTable.IsOpen())
        return true;
    if (testPointSetModified) {
        const QString question = Pick(settings, texts::kTestPointSetModified).value_or(QString());
        if (dialogs.AskYesNo(texts::kSaveAsCaption.English(), question) && !SaveTestPointSet())
            return false;
    }
    AcquiredTable.Close();
    return true;
}

void Workspace::NewTestPointSet()
{
    testPointSetModified = false;
    const QString working = WorkingCopyPath();
    m_testPointSetFile = working;
    AcquiredTable.SetDatabaseName(QString::fromUtf8(dbnames::kTestPoints));
    AcquiredTable.SetTableName(working);
    SetTableHidden(working, false);
    AcquiredTable.CreateTable(TestPointFields());
    SetTableHidden(working, true);
    QFile::remove(SideValFile(working));
    availability.TestPointSetCreated();
    AcquiredTable.Open();
}

void Workspace::RequireUsableTestPointSet(const QString& file)
{
    // A set without "layer" is an older one the run still handles.
    RequireTableLayout(file, TestPointFields(), {QString::fromUtf8(fields::kLayer)});
}

void Workspace::OpenTestPointSet(const QString& file)
{
    RequireUsableTestPointSet(file);
    testPointSetModified = false;
    const QString working = WorkingCopyPath();
    SetTableHidden(working, false);
    // The copy replaces the working copy only once it is complete, and a
    // file that is not a table leaves the working copy as it was.
    CopyTableFile(file, working);
    SetTableHidden(working, true);
    AcquiredTable.SetDatabaseName(QString::fromUtf8(dbnames::kTestPoints));
    AcquiredTable.SetTableName(working);
    m_testPointSetFile = QFileInfo(file).absoluteFilePath();
    AcquiredTable.Open();
    availability.TestPointSetOpened();
}

bool Workspace::SaveTestPointSet()
{
    const QString target = dialogs.AskSaveFile(TableDialog(TestPointsFolder(), true, true));
    if (target.isEmpty())
        return true;
    return SaveTestPointSetAs(target);
}

bool Workspace::SaveTestPointSetAs(const QString& file)
{
    if (SameFile(file, WorkingCopyPath())) {
        // Saving onto the working copy would delete the set being saved.
        ShowText(dialogs, settings, texts::kWorkingCopyReserved);
        return false;
    }
    if (RefusedAsHeld(file, &AcquiredTable))
        return false;
    const QString working = WorkingCopyPath();
    AcquiredTable.Close();
    try {
        QFile::remove(SideValFile(file));
        // The old file is replaced only by a complete copy.
        CopyTableFile(working, file);
        SetTableHidden(file, false);
    } catch (...) {
        if (AcquiredTable.FileExists())
            AcquiredTable.Open();
        throw;
    }
    m_testPointSetFile = QFileInfo(file).absoluteFilePath();
    AcquiredTable.Open();
    testPointSetModified = false;
    return true;
}

bool Workspace::CreateMeasurementsTable(const QString& file)
{
    if (!UseMeasurementsTable(file, true))
        return false;
    availability.MeasurementsCreated();
    return true;
}

bool Workspace::OpenMeasurementsTable(const QString& file)
{
    if (!UseMeasurementsTable(file, false))
        return false;
    availability.MeasurementsOpened();
    return true;
}

bool Workspace::UseMeasurementsTable(const QString& file, bool create)
{
    if (RefusedAsHeld(file, &ReportTable))
        return false;
    // A file that cannot be used is refused before the open table is closed.
    if (!create)
        RequireTableLayout(file, MeasurementFields());
    ReportTable.Close();
    ReportTable.SetDatabaseName(QString::fromUtf8(dbnames::kMeasurements));
    ReportTable.SetTableName(QFileInfo(file).absoluteFilePath());
    if (create)
        ReportTable.CreateTable(MeasurementFields());
    ReportTable.Open();
    return true;
}
