#include "command.h"
#include "base/language.h"
#include "base/storedtext.h"

#include "db/databasemanager.h"
#include "engine/undofile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace Cli {

namespace {
class UndoCommand : public ServerCommand
{
public:
    UndoCommand()
        : ServerCommand(QStringLiteral("undo"), QCoreApplication::translate("Cli", "执行撤销文件 FILE，放回操作改动的数据（需 --yes）"), QStringLiteral("undo_"))
    {
    }

    bool changesData() const override { return true; }
    bool takesArguments() const override { return true; }

    void addOptions(QCommandLineParser &parser) const override
    {
        ServerCommand::addOptions(parser);
        parser.addPositionalArgument(QStringLiteral("FILE"), STORED_TEXT("撤销文件（backups/undo/ 下）；list 列出尚未执行的撤销文件").shown());
        parser.addPositionalArgument(QStringLiteral("prune"),
                                     QCoreApplication::translate("Cli", "删除已执行的撤销文件和早于 --older-than 天的撤销文件（需 --yes；其后可列出要删除的文件）"),
                                     QStringLiteral("[prune [FILE...]]"));
        parser.addOption({QStringLiteral("older-than"), QCoreApplication::translate("Cli", "prune: 也删除早于 DAYS 天的撤销文件（每个数据库最新的一个除外）"),
                          QStringLiteral("DAYS")});
        parser.addOption({QStringLiteral("json"), QCoreApplication::translate("Cli", "list: 以 JSON 输出")});
        parser.addOption({QStringLiteral("server-moved"),
                          QCoreApplication::translate("Cli", "文件写于的服务器已迁移到这里（标识不同）时，确认后仍执行")});
    }

    int execute(const QCommandLineParser &parser, Output &out) override
    {
        const QStringList arguments = parser.positionalArguments();
        if (!arguments.isEmpty() && arguments.constFirst() == QLatin1String("prune") && !QFileInfo::exists(arguments.constFirst()))
            return prune(parser, out);
        if (arguments.size() != 1) {
            usageError(STORED_TEXT("undo 需要一个撤销文件，或 list"));
            return Usage;
        }
        const QString path = arguments.constFirst();
        if (path == QLatin1String("list") && !QFileInfo::exists(path))
            return list(parser);
        const HostConfig config = connection(parser, out);
        if (usageFailed())
            return Usage;
        const UndoFile::Summary summary = UndoFile::read(path);
        if (!summary.valid) {
            out.line(QFileInfo::exists(path) ? STORED_TEXT("%1 不是撤销文件").arg(path) : STORED_TEXT("撤销文件不存在: %1").arg(path));
            return Failed;
        }
        for (const Message &line : UndoFile::describe(summary))
            out.line(line);
        if (!connectSession(config, out))
            return Failed;
        UndoFile::ApplyOptions options;
        options.checkOnly = !parser.isSet(QStringLiteral("yes"));
        options.serverMoved = parser.isSet(QStringLiteral("server-moved"));
        // The file acts on the database the operator named: the entry's or --database.
        options.databases = QStringList{config.database, config.accountDatabase};
        if (parser.isSet(QStringLiteral("database")))
            options.databases = QStringList{parser.value(QStringLiteral("database"))};
        options.databases.removeAll(QString());
        const UndoFile::Applied applied = UndoFile::apply(DatabaseManager::instance()->database(), path, options);
        if (!applied.notice.isEmpty())
            out.line(applied.notice);
        if (!applied.ok) {
            out.line(applied.error);
            if (applied.otherServer)
                out.line(STORED_TEXT("确认这就是文件写于的服务器（迁移过）后，可加 --server-moved 执行"));
            return Failed;
        }
        const bool rehearsal = options.checkOnly;
        if (rehearsal) {
            out.line(STORED_TEXT("检查通过：文件完整，服务器是写入时的那台，数据仍是操作后的样子，要放回的角色ID都空闲"));
            dryRunNote(out);
            return Success;
        }
        out.line(STORED_TEXT("撤销完成: %1").arg(path));
        return Success;
    }

private:
    // Which files a prune removes and their size; with --yes removes them. No server needed.
    int prune(const QCommandLineParser &parser, Output &out)
    {
        int days = -1;
        if (parser.isSet(QStringLiteral("older-than"))) {
            bool ok = false;
            days = parser.value(QStringLiteral("older-than")).toInt(&ok);
            if (!ok || days < 0) {
                usageError(STORED_TEXT("--older-than 需要天数（非负整数）"));
                return Usage;
            }
        }
        out.toStandardError(parser.isSet(QStringLiteral("json")));
        const QList<UndoFile::Prunable> files = UndoFile::prunable(days, parser.positionalArguments().mid(1));
        qint64 bytes = 0;
        QJsonArray removed;
        for (const UndoFile::Prunable &file : files) {
            bytes += file.bytes;
            out.line((file.applied ? STORED_TEXT("  %1（已执行，%2 字节）") : STORED_TEXT("  %1（%2 字节）")).arg(file.path, QString::number(file.bytes)));
            removed.append(file.path);
        }
        out.line(STORED_TEXT("共 %1 个撤销文件，%2 字节").arg(QString::number(files.size()), QString::number(bytes)));
        const bool rehearsal = !parser.isSet(QStringLiteral("yes"));
        Message error;
        const bool ok = rehearsal || UndoFile::prune(files, &error);
        if (rehearsal)
            dryRunNote(out);
        else
            out.line(ok ? STORED_COUNT("已删除 %Ln 个撤销文件").count(files.size()) : error);
        if (parser.isSet(QStringLiteral("json")))
            QTextStream(stdout) << QJsonDocument(QJsonObject{{QStringLiteral("command"), QStringLiteral("undo prune")}, {QStringLiteral("ok"), ok},
                                                             {QStringLiteral("removed"), !rehearsal && ok}, {QStringLiteral("files"), removed},
                                                             {QStringLiteral("bytes"), bytes}})
                                       .toJson(QJsonDocument::Compact)
                                << '\n';
        return ok ? Success : Failed;
    }

    // The files not applied yet, newest first, as the undo window lists them; no server needed.
    static int list(const QCommandLineParser &parser)
    {
        QTextStream stream(stdout);
        QJsonArray files;
        const QList<UndoFile::Summary> summaries = UndoFile::list();
        if (summaries.isEmpty() && !parser.isSet(QStringLiteral("json")))
            stream << STORED_TEXT("没有尚未执行的撤销文件（%1）").arg(UndoFile::directory()).shown() << '\n';
        for (const UndoFile::Summary &summary : summaries) {
            if (parser.isSet(QStringLiteral("json"))) {
                files.append(QJsonObject{{QStringLiteral("path"), summary.path},
                                         {QStringLiteral("operation"), summary.operation},
                                         {QStringLiteral("time"), summary.time.toString(Qt::ISODate)},
                                         {QStringLiteral("server"), summary.server},
                                         {QStringLiteral("database"), summary.database},
                                         {QStringLiteral("rows"), QJsonArray::fromStringList(summary.rows)}});
                continue;
            }
            stream << summary.path << '\n';
            for (const Message &line : UndoFile::describe(summary))
                stream << "  " << line.shown() << '\n';
        }
        if (parser.isSet(QStringLiteral("json")))
            stream << QJsonDocument(QJsonObject{{QStringLiteral("command"), QStringLiteral("undo list")}, {QStringLiteral("ok"), true},
                                                {QStringLiteral("files"), files}})
                          .toJson(QJsonDocument::Compact)
                   << '\n';
        return Success;
    }
};
} // namespace

std::shared_ptr<Command> undoCommand()
{
    return std::make_shared<UndoCommand>();
}

} // namespace Cli
