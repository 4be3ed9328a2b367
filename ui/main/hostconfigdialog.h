#pragma once

#include "db/hostconfig.h"

#include <QDialog>

class QListWidget;
class QListWidgetItem;

// Edits a copy of the host list; the caller takes the list back with configs() on acceptance.
class HostConfigDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HostConfigDialog(const HostConfigList &configs, QWidget *parent = nullptr);

    HostConfigList configs() const { return m_configs; }

private slots:
    void onAddConfig();
    void onEditConfig();
    void onRemoveConfig();
    void onItemDoubleClicked(QListWidgetItem *item);

private:
    void refreshList();
    bool editConfig(HostConfig &config, bool isNew);

    HostConfigList m_configs;
    QListWidget *m_list = nullptr;
};
