#pragma once

#include "base/message.h"

#include "engine/characteroperation.h"
#include "engine/rowpreview.h"
#include <QMessageBox>

#include "db/databasemanager.h"

#include "db/sessiontask.h"

#include <QDialog>
#include <QList>
#include <QVariant>

#include <functional>

class CharacterTableModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;
class LogView;

// The character management window: lists characters by world id, searches them and acts on
// the selected one. Works on the main session; non-modal, several may be open.
class CharacterListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CharacterListDialog(QWidget *parent);

    // The world id field's ids that parse and are at least 1, in order, duplicates kept.
    QList<int> parseWorldIds() const;
    // The charguid of the current row, or -1.
    int selectedCharGuid() const;
    // The list the table shows, in table order.
    const QList<CharacterSummary> &currentCharacters() const;

    // A positive charguid from "11001234", "A7DD92" or "0xA7DD92"; 0 when the text is none.
    // `how` receives the debug line that names the form.

public slots:
    void onLogMessage(const Message &message);
    void onQueryCharacters();
    // Closing while an operation of this window runs asks first, then cancels it (where it
    // can be) and closes when it has ended.
    void reject() override;

private slots:
    void onSelectWorldIds();
    void onSearchCharacters();
    void onExportCharacters();
    void onEditCharacter();
    void onContextEditCharacter();
    void onCharacterDoubleClicked(int row, int column);
    void onShowContextMenu(const QPoint &pos);
    void onContextRepairSkill();
    void onContextCopyCharacter();
    void onContextTransferCharacter();
    void onContextDeleteCharacter();
    void onContextViewBank();
    void onCancelOperation();
    void updateActions();

private:
    void buildWidgets();
    void showCharacters(const QList<CharacterSummary> &characters);
    // A failed query or search: the list empties and the window says why. `what` and the title of
    // confirmRows are stored texts: logged as written, shown in the window's language.
    void showFailure(const Message &what, const Message &error);
    void openEditor(int charguid);
    // For actions that need a selected character: its charguid, or 0 after the warning.
    int requireSelectedCharacter();
    // A request of that kind for the selected character; its charguid is 0 after the warning.
    CharacterOperation::Request selectedRequest(CharacterOperation::Kind kind);
    // Logs what the operation will touch and asks with those counts; true on Yes.
    bool confirmRows(QMessageBox::Icon icon, const Message &title, const QString &question, const QList<RowPreview::Count> &counts);
    // Runs `work` on a worker as the session's operation `what`, its log and progress shown
    // here; `done` gets the outcome. `cancellable` offers the cancel button (one transaction).
    // Runs a single-character operation on the session's worker and hands its result to `done`
    // when it succeeded; a failure or cancel is shown here.
    void runCharacterOperation(const QString &what, const CharacterOperation::Request &request,
                               const std::function<void(const CharacterOperation::Result &)> &done);
    void runOperation(const QString &what, bool cancellable, SessionTask::Work work,
                      const std::function<void(bool ok, bool cancelled)> &done);
    QString cellText(int row, int column) const;

    CharacterTableModel *m_model = nullptr;
    QLineEdit *m_worldIdEdit = nullptr;
    QComboBox *m_searchType = nullptr;
    QLineEdit *m_searchEdit = nullptr;
    QLabel *m_countLabel = nullptr;
    QTableView *m_table = nullptr;
    QMenu *m_contextMenu = nullptr;
    LogView *m_logView = nullptr;
    bool m_showingSearch = false;  // the list shows a search's result, not worlds' characters
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QList<QWidget *> m_sessionWidgets;  // off while any operation holds the session
    SessionTask *m_task = nullptr;      // this window's running operation
    bool m_cancellable = false;
    bool m_closeWhenDone = false;
};
