#include "datafile/RecordWriteNotice.h"

#include "desktop/MessageBox.h"
#include "storage/DataControl.h"
#include "storage/DataFileFormat.h"
#include "storage/Recordset.h"

namespace {
constexpr char kModule[] = "RecordWriteNotice.cpp";
const QString kCrLf = QStringLiteral("\r\n");
using Reason = RecordWriteError::Reason;

// "The record "name"", as the user knows it: the account name of the current record, change included.
QString recordNamed(const Recordset* records)
{
    BW_TRACE(kModule, "Function recordNamed");
    const QString name = records && records->isOpen() && records->currentRow() >= 0
                             ? records->value(DataFileFormat::Account)
                             : QString();
    return name.isEmpty() ? QStringLiteral("The record without an account name")
                          : QStringLiteral("The record \"") + name + QLatin1Char('"');
}

QString because(const RecordWriteError& error)
{
    switch (error.reason()) {
    case Reason::DiskFull:
        return QStringLiteral("the disk is full");
    case Reason::ReadOnly:
        return QStringLiteral("the data file cannot be written: the file or its folder is read-only");
    case Reason::InUse:
        return QStringLiteral("another program is keeping the data file locked");
    case Reason::DiskError:
        return QStringLiteral("the disk reported an error");
    default:
        return QStringLiteral("the data file reported error ") + QString::number(error.number()) +
               QStringLiteral(" (") + error.description() + QLatin1Char(')');
    }
}

// "The record "x" could not be saved because the disk is full."
QString notDone(const RecordWriteError& error, const Recordset* records)
{
    const bool deleting = error.operation() == RecordWriteError::Operation::Delete;
    return recordNamed(records) +
           (deleting ? QStringLiteral(" could not be deleted because ")
                     : QStringLiteral(" could not be saved because ")) +
           because(error) + QLatin1Char('.');
}

void askAboutConflict(const RecordWriteError& error, DataControl& control)
{
    BW_TRACE(kModule, "Sub askAboutConflict");
    const std::shared_ptr<Recordset> records = control.recordset();
    const bool deleted = error.reason() == Reason::DeletedElsewhere;
    const QString text =
        deleted ? recordNamed(records.get()) +
                      QStringLiteral(" was deleted by another Lockwell window or program while you were editing it.") +
                      kCrLf + kCrLf + QStringLiteral("Yes: store it again, with your changes.") + kCrLf +
                      QStringLiteral("No: let it go.")
                : recordNamed(records.get()) +
                      QStringLiteral(" was changed by another Lockwell window or program while you were editing "
                                     "it, in a field you changed too. It now shows what is stored, with your "
                                     "changes on top.") +
                      kCrLf + kCrLf + QStringLiteral("Yes: save your changes over the other ones.") + kCrLf +
                      QStringLiteral("No: drop your changes and show the record as it is stored.");
    const int answer =
        MsgBox(text, vb::vbYesNo | vb::vbExclamation,
               deleted ? QStringLiteral("RECORD DELETED ELSEWHERE!") : QStringLiteral("RECORD CHANGED ELSEWHERE!"));
    if (!records || !records->hasActiveConnection())
        return;
    if (answer != vb::vbYes) {
        records->cancelUpdate();
        return;
    }
    try {
        records->update();
    } catch (const RecordWriteError& again) {
        RecordWriteNotice::handle(again, control);
    }
}
} // namespace

void RecordWriteNotice::handle(const RecordWriteError& error, DataControl& control)
{
    BW_TRACE(kModule, "Sub handle");
    if (error.isConflict()) {
        askAboutConflict(error, control);
        return;
    }
    const std::shared_ptr<Recordset> records = control.recordset();
    if (error.operation() == RecordWriteError::Operation::Delete) {
        MsgBox(notDone(error, records.get()) + kCrLf + kCrLf + QStringLiteral("It is still in the data file."),
               vb::vbOKOnly | vb::vbExclamation, QStringLiteral("RECORD NOT DELETED!"));
        return;
    }
    const QString advice = error.reason() == Reason::DiskFull
                               ? QStringLiteral("Free some space on the disk, then select another record to save them.")
                               : QStringLiteral("Once that is put right, select another record to save them.");
    MsgBox(notDone(error, records.get()) + kCrLf + kCrLf +
               QStringLiteral("Your changes are still in the window and have not been lost. ") + advice,
           vb::vbOKOnly | vb::vbExclamation, QStringLiteral("RECORD NOT SAVED!"));
}

bool RecordWriteNotice::closeAnyway(const RecordWriteError& error, DataControl& control)
{
    BW_TRACE(kModule, "Function closeAnyway");
    const std::shared_ptr<Recordset> records = control.recordset();
    return MsgBox(notDone(error, records.get()) + kCrLf + kCrLf +
                      QStringLiteral("Close anyway, and lose your changes to it?"),
                  vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton2,
                  QStringLiteral("RECORD NOT SAVED!")) == vb::vbYes;
}
