#pragma once
// How a command ends when it cannot do its work: the exit status, the one line that says why, and for a
// choice the user has to make, the lines that list what to choose from.
#include <QString>
#include <QStringList>

enum class ExitStatus { Success = 0, Failure = 1, Usage = 2 };

class CliFailure
{
public:
    CliFailure(ExitStatus status, QString message, QStringList details = {})
        : m_status(status), m_message(std::move(message)), m_details(std::move(details))
    {
    }
    ExitStatus status() const { return m_status; }
    const QString& message() const { return m_message; }
    const QStringList& details() const { return m_details; }

private:
    ExitStatus m_status;
    QString m_message;
    QStringList m_details;
};

[[noreturn]] inline void fail(const QString& message, const QStringList& details = {})
{
    throw CliFailure(ExitStatus::Failure, message, details);
}

[[noreturn]] inline void usageError(const QString& message)
{
    throw CliFailure(ExitStatus::Usage, message);
}
