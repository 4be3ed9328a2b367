#pragma once

#include <QByteArray>
#include <QDialog>
#include <QHash>
#include <QList>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTableWidget;

// Edits one character's t_char row, bans and unbans it, and shows its buffs, xinfa and skills.
// A save writes only the fields the operator changed.
class CharacterEditDialog : public QDialog
{
    Q_OBJECT

public:
    CharacterEditDialog(int charguid, QWidget *parent);

    // The texts of an impact record's duration (at byte 24) and elapsed time (at byte 28).
    static QString durationText(quint32 duration);
    static QString elapsedText(qint32 elapsed);

private slots:
    void onSave();
    void onRefresh();
    void onReturnToLuoyang();
    void onBanCharacter();
    void onUnbanCharacter();
    void onDeleteBuff();
    void onClearAllBuff();
    void showBuffContextMenu(const QPoint &pos);
    void onXinfaSelected();
    void onSaveXinfa();

private:
    struct IntField
    {
        QString column;
        QSpinBox *box = nullptr;
        int minimum = 0;
        int maximum = 0;
        int stored = 0;
    };
    struct TextField
    {
        QString column;
        QLineEdit *edit = nullptr;
        QByteArray stored;
        QString shown;
    };
    struct ChoiceField
    {
        QString column;
        QComboBox *combo = nullptr;
        QStringList names;
        int stored = 0;
    };

    QWidget *buildBasicTab();
    QWidget *buildBuffTab();
    QWidget *buildXinfaTab();
    // Adds "label" and a spin box for `column` to the grid's next row.
    void addIntField(QGridLayout *grid, const QString &label, const char *column, int minimum, int maximum);
    IntField *intField(const QString &column);

    void loadCharacterData();
    void showBanState(int banEnd);
    void loadBuffs();
    void loadXinfa();
    void loadSkills();
    void showXinfa(int id, int level);
    // Column and value of every field whose widget differs from what the load put there.
    QList<QPair<QString, QVariant>> changedColumns() const;

    int m_charguid;
    bool m_loaded = false;
    QList<IntField> m_ints;
    QList<TextField> m_texts;
    QList<ChoiceField> m_choices;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_banLabel = nullptr;
    QPushButton *m_banButton = nullptr;
    QPushButton *m_unbanButton = nullptr;

    QTableWidget *m_buffTable = nullptr;
    QMenu *m_buffMenu = nullptr;
    QTableWidget *m_xinfaTable = nullptr;
    QSpinBox *m_xinfaId = nullptr;
    QSpinBox *m_xinfaLevel = nullptr;
    QLabel *m_xinfaName = nullptr;
    qint64 m_selectedXinfa = 0;
    QPair<int, int> m_xinfaShown;  // id and level of the selected row as stored
    QTableWidget *m_skillTable = nullptr;
};
