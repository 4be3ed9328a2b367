#pragma once

#include "db/hostconfig.h"
#include "db/operationcontext.h"

#include <QCommandLineParser>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <memory>

class QSqlDatabase;

namespace Cli {

enum ExitCode { Success = 0, Failed = 1, Usage = 2 };

// Writes log lines as the windows show them, into the day's file of the operation's kind,
// and a progress bar to a terminal.
class Output
{
public:
    explicit Output(const QString &logPrefix);
    void line(const Message &message);
    // Log lines to standard error: standard output then carries only the command's result.
    void toStandardError(bool on) { m_toError = on; }
    void progress(int percent, const Message &label = Message());
    void clearProgress();
    // The operation's context: its lines as line(), its progress as the bar. No cancel: the
    // command line stops by its signals, and the transaction rolls back with the connection.
    OperationContext context();

private:
    QString m_prefix;
    bool m_progress;
    bool m_shown = false;
    bool m_toError = false;
};

// One subcommand: its name, what it does, its options and one execute(). A usage problem is
// recorded with usageError() and ends the command with exit code 2.
class Command
{
public:
    Command(const QString &name, const QString &description, const QString &logPrefix = QStringLiteral("operation_"));
    virtual ~Command() = default;

    QString name() const { return m_name; }
    QString description() const { return m_description; }
    QString logPrefix() const { return m_logPrefix; }
    // Whether the command changes data: then it only rehearses without --yes.
    virtual bool changesData() const { return false; }
    // Whether it takes positional arguments (a file).
    virtual bool takesArguments() const { return false; }

    virtual void addOptions(QCommandLineParser &parser) const;
    virtual int execute(const QCommandLineParser &parser, Output &out) = 0;

    void usageError(const Message &text);
    bool usageFailed() const { return !m_usageError.isEmpty(); }
    Message usageText() const { return m_usageError; }

protected:
    // The --worlds list (or a single world for `option` = one id).
    QList<int> worldList(const QCommandLineParser &parser, const QString &option);
    int world(const QCommandLineParser &parser, const QString &option);
    // Whether --clean-level is given; its level (1 to 150, as the windows take it) into *level.
    bool cleanLevel(const QCommandLineParser &parser, int *level);
    HostConfig namedHost(const QString &name);
    static void dryRunNote(Output &out);
    // --no-undo, for operators who take a full backup instead of the undo file.
    static void addUndoOption(QCommandLineParser &parser);
    static void printUndoFile(const QString &path, Output &out);
    // "服务器: 一区 (host:port/database)": the first line of every command on a server.
    static void printServer(const Message &role, const HostConfig &config, Output &out);

private:
    QString m_name;
    QString m_description;
    QString m_logPrefix;
    Message m_usageError;
};

// A command on one server's character database: --host NAME, or --server with --user and
// --database; the password from the host file, a prompt or --password-stdin, never an argument.
class ServerCommand : public Command
{
public:
    using Command::Command;
    void addOptions(QCommandLineParser &parser) const override;

protected:
    // The server the command acts on, named as the first line of its output; --host and the
    // direct options together are a usage error.
    HostConfig connection(const QCommandLineParser &parser, Output &out);
    // Opens the session on the connection: false after saying why.
    // Connects the session; on failure logs why (the server's own reason) and gives it in *failure.
    bool connectSession(const HostConfig &config, Output &out, Message *failure = nullptr);
    // The session and --worlds of a command that works on worlds: Success, Usage or Failed.
    int openWorlds(const QCommandLineParser &parser, Output &out, QList<int> *worlds, HostConfig *config);
};

// A command of several actions ("character delete", "account list"). With --json its result is
// one JSON object on standard output (command, action, ok, and what the action adds: rows,
// counts, undoFile, error), while the log goes to standard error.
class ActionCommand : public ServerCommand
{
public:
    ActionCommand(const QString &name, const QString &description, const QString &logPrefix, const QStringList &actions);
    bool changesData() const override { return true; }
    bool takesArguments() const override { return true; }
    void addOptions(QCommandLineParser &parser) const override;
    int execute(const QCommandLineParser &parser, Output &out) final;

protected:
    // The action with the positional arguments after it.
    virtual int run(const QCommandLineParser &parser, const QString &action, const QStringList &arguments, Output &out) = 0;
    // Whether the action takes positional arguments after its name.
    virtual bool takesMoreArguments(const QString &action) const;
    // Logs the error, puts it in the result, and gives Failed.
    int fail(Output &out, const Message &error);
    bool json() const { return m_json; }
    void setResult(const QString &key, const QJsonValue &value) { m_result.insert(key, value); }

private:
    int runAction(const QCommandLineParser &parser, const QString &action, const QStringList &arguments, Output &out);

    QStringList m_actions;
    bool m_json = false;
    QJsonObject m_result;
};

// Every command, in the order --help lists them; each lives in a file of its own.
QList<std::shared_ptr<Command>> commands();
std::shared_ptr<Command> backupCommand();
std::shared_ptr<Command> restoreCommand();
std::shared_ptr<Command> worldsCommand();
std::shared_ptr<Command> wipeCommand();
std::shared_ptr<Command> mergeCommand();
std::shared_ptr<Command> mergeSameCommand();
std::shared_ptr<Command> exportCommand();
std::shared_ptr<Command> undoCommand();
std::shared_ptr<Command> characterCommand();
std::shared_ptr<Command> accountCommand();

// Per-table row counts of the characters chosen by `owners` (a sub-select of charguids), as a
// rehearsal prints them.
void printRowCounts(QSqlDatabase &db, const QString &owners, Output &out, bool reverseRelations);

} // namespace Cli
