#include "mainstyle.h"

#include <QLineEdit>

QString mainStyleSheet()
{
    return QStringLiteral(R"(
QWidget {
    background-color: #1e1e2e;
    color: #e4e4e7;
    font-family: "Microsoft YaHei", "Segoe UI", sans-serif;
    font-size: 12px;
}
QGroupBox {
    background-color: #2d2d3d;
    border: 1px solid #3d3d4d;
    border-radius: 8px;
    margin-top: 12px;
    padding: 15px;
    font-weight: bold;
}
QGroupBox::title {
    subcontrol-origin: margin;
    left: 15px;
    color: #3b82f6;
}
QLineEdit, QSpinBox {
    background-color: #2d2d3d;
    border: 1px solid #3d3d4d;
    border-radius: 6px;
    padding: 8px 12px;
    min-height: 20px;
}
QLineEdit:focus, QSpinBox:focus { border-color: #3b82f6; }
QPushButton {
    background-color: #3b82f6;
    color: white;
    font-weight: bold;
    border: none;
    border-radius: 6px;
    padding: 10px 20px;
    min-width: 80px;
}
QPushButton:hover { background-color: #2563eb; }
QPushButton:pressed { background-color: #1d4ed8; }
QPushButton:disabled { background-color: #4a4a5a; color: #8a8a9a; }
QPushButton#deleteBtn { background-color: #ef4444; }
QPushButton#deleteBtn:hover { background-color: #dc2626; }
QPushButton#modifyBtn { background-color: #f97316; }
QPushButton#modifyBtn:hover { background-color: #ea580c; }
QPushButton#editBtn, QPushButton#selectWorldsBtn { background-color: #8b5cf6; }
QPushButton#editBtn:hover, QPushButton#selectWorldsBtn:hover { background-color: #7c3aed; }
QPushButton#repairSkillBtn { background-color: #10b981; }
QPushButton#repairSkillBtn:hover { background-color: #059669; }
QPushButton#testBtn { background-color: #6366f1; }
QPushButton#testBtn:hover { background-color: #4f46e5; }
QPushButton#connectBtn { background-color: #3b82f6; }
QPushButton#connectBtn:hover { background-color: #2563eb; }
QPushButton#configBtn { background-color: #6b7280; min-width: 0px; padding: 8px 10px; }
QPushButton#configBtn:hover { background-color: #4b5563; }
QPushButton#backupBtn { background-color: #14b8a6; }
QPushButton#backupBtn:hover { background-color: #0d9488; }
QPushButton#restoreBtn { background-color: #f59e0b; }
QPushButton#restoreBtn:hover { background-color: #d97706; }
QComboBox {
    background-color: #2d2d3d;
    border: 2px solid #f97316;
    border-radius: 6px;
    padding: 8px 30px 8px 12px;
    font-weight: 500;
}
QComboBox:hover { border-color: #fb923c; background-color: #353545; }
QComboBox:focus { border-color: #fdba74; }
QComboBox::drop-down {
    subcontrol-origin: padding;
    subcontrol-position: top right;
    width: 28px;
    border: none;
    background-color: #f97316;
}
QComboBox::drop-down:hover { background-color: #ea580c; }
QComboBox::down-arrow { image: url(:/arrow-down.png); width: 12px; height: 12px; }
QComboBox QAbstractItemView {
    background-color: #2d2d3d;
    border: 2px solid #f97316;
    outline: none;
}
QComboBox QAbstractItemView::item { padding: 8px 12px; min-height: 24px; }
QComboBox QAbstractItemView::item:hover { background-color: rgba(249, 115, 22, 0.3); color: white; }
QComboBox QAbstractItemView::item:selected { background-color: #f97316; color: white; }
QTableWidget, QTableView {
    background-color: #2d2d3d;
    border: 1px solid #3d3d4d;
    gridline-color: #3d3d4d;
    selection-background-color: #3b82f6;
    alternate-background-color: #252535;
}
QTableWidget::item, QTableView::item { padding: 8px; }
QHeaderView::section {
    background-color: #3d3d4d;
    font-weight: bold;
    padding: 10px;
    border: none;
}
QTextEdit {
    background-color: #2d2d3d;
    border: 1px solid #3d3d4d;
    border-radius: 6px;
    padding: 10px;
}
QProgressBar {
    background-color: #2d2d3d;
    border: 1px solid #3d3d4d;
    border-radius: 6px;
    text-align: center;
    color: white;
    height: 25px;
}
QProgressBar::chunk { background-color: #3b82f6; border-radius: 5px; }
QLabel { background-color: transparent; }
QLabel#statusLabel {
    font-weight: bold;
    padding: 6px 12px;
    border-radius: 6px;
    background-color: #3d3d4d;
    border: 1px solid #4d4d6d;
}
QLabel#configLabel { font-weight: bold; color: #a1a1aa; font-size: 12px; }
QCheckBox::indicator, QRadioButton::indicator {
    width: 18px;
    height: 18px;
    border: 2px solid #5d5d6d;
    background-color: #2d2d3d;
}
QCheckBox::indicator { border-radius: 4px; }
QRadioButton::indicator { border-radius: 11px; }
QCheckBox::indicator:hover, QRadioButton::indicator:hover { border-color: #3b82f6; }
QCheckBox::indicator:checked, QRadioButton::indicator:checked {
    background-color: #3b82f6;
    border-color: #3b82f6;
}
QCheckBox::indicator:checked:hover, QRadioButton::indicator:checked:hover { background-color: #2563eb; }
QCheckBox::indicator:checked { image: url(:/check.png); }
QScrollBar:vertical { width: 12px; background-color: #2d2d3d; border: none; }
QScrollBar::handle:vertical { background-color: #4a4a5a; min-height: 30px; border-radius: 6px; }
QScrollBar::handle:vertical:hover { background-color: #5a5a6a; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; }
)");
}

QString hostDialogStyleSheet()
{
    return QStringLiteral(R"(
QDialog { background-color: #1e1e2e; }
QLabel { color: #e4e4e7; }
QLineEdit, QSpinBox {
    background-color: #3d3d4d;
    border: 1px solid #4d4d5d;
    border-radius: 4px;
    padding: 8px;
    color: #e4e4e7;
}
QLineEdit:focus, QSpinBox:focus { border-color: #3b82f6; }
QListWidget {
    background-color: #2d2d3d;
    border: 1px solid #3d3d4d;
    border-radius: 4px;
    padding: 5px;
    alternate-background-color: #353545;
}
QListWidget::item { padding: 10px; border-radius: 3px; }
QListWidget::item:selected { background-color: #3b82f6; }
QPushButton {
    background-color: #3b82f6;
    color: white;
    font-weight: bold;
    border: none;
    border-radius: 4px;
    padding: 8px 15px;
}
QPushButton:hover { background-color: #2563eb; }
QPushButton:pressed { background-color: #1d4ed8; }
)");
}

QString darkDialogStyleSheet()
{
    return QStringLiteral(R"(
QDialog { background-color: #1e1e2e; color: #e4e4e7; }
QLabel, QCheckBox { color: #e4e4e7; background: transparent; }
QGroupBox {
    color: #e4e4e7;
    border: 1px solid #3d3d4d;
    border-radius: 6px;
    margin-top: 12px;
    padding-top: 12px;
    font-weight: bold;
}
QGroupBox::title { subcontrol-origin: margin; left: 12px; color: #3b82f6; }
QLineEdit, QSpinBox {
    background-color: #2d2d3d;
    color: #e4e4e7;
    border: 1px solid #3d3d4d;
    border-radius: 6px;
    padding: 6px 10px;
}
QLineEdit:focus, QSpinBox:focus { border-color: #3b82f6; }
QListWidget, QTextEdit, QTableWidget {
    background-color: #2d2d3d;
    color: #e4e4e7;
    border: 1px solid #3d3d4d;
    border-radius: 6px;
}
QListWidget::item { min-height: 24px; }
QTableWidget { gridline-color: #3d3d4d; selection-background-color: #3b82f6; }
QHeaderView::section { background-color: #3d3d4d; color: #e4e4e7; font-weight: bold; padding: 6px; border: none; }
QListWidget::indicator, QCheckBox::indicator {
    width: 14px;
    height: 14px;
    border: 2px solid #5d5d6d;
    border-radius: 4px;
    background-color: #2d2d3d;
}
QListWidget::indicator:checked, QCheckBox::indicator:checked {
    background-color: #3b82f6;
    border-color: #3b82f6;
    image: url(:/check.png);
}
QPushButton {
    background-color: #3b82f6;
    color: white;
    font-weight: bold;
    border: none;
    border-radius: 6px;
    padding: 6px 12px;
}
QPushButton:hover { background-color: #2563eb; }
QPushButton:pressed { background-color: #1d4ed8; }
QPushButton:disabled { background-color: #4d4d5d; color: #8d8d9d; }
QProgressBar {
    background-color: #2d2d3d;
    border: 1px solid #3d3d4d;
    border-radius: 4px;
    text-align: center;
    color: white;
}
QProgressBar::chunk { background-color: #3b82f6; border-radius: 3px; }
)");
}

void fitPlaceholder(QLineEdit *edit, int minimum)
{
    edit->setMinimumWidth(qMax(minimum, edit->fontMetrics().horizontalAdvance(edit->placeholderText()) + 32));
}

QString characterEditStyleSheet()
{
    return QStringLiteral(R"(
QDialog { background-color: #1e1e2e; color: #e4e4e7; }
QLabel { color: #e4e4e7; }
QTabWidget::pane { background-color: #2d2d3d; border: 1px solid #3d3d4d; border-radius: 6px; }
QTabBar::tab { background-color: #2d2d3d; color: #e4e4e7; padding: 8px 16px; border-top-left-radius: 6px; border-top-right-radius: 6px; }
QTabBar::tab:selected { background-color: #3b82f6; color: white; }
QLineEdit, QSpinBox, QComboBox { background-color: #1e1e2e; color: #e4e4e7; border: 1px solid #3d3d4d; border-radius: 6px; padding: 4px; }
QTableWidget { background-color: #1e1e2e; alternate-background-color: #262636; color: #e4e4e7; gridline-color: #3d3d4d; }
QHeaderView::section { background-color: #2d2d3d; color: #e4e4e7; border: 1px solid #3d3d4d; padding: 4px; }
QGroupBox { color: #e4e4e7; border: 1px solid #3d3d4d; border-radius: 6px; margin-top: 12px; padding: 8px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QPushButton { background-color: #3b82f6; color: white; border: none; border-radius: 6px; padding: 6px 14px; }
QPushButton:hover { background-color: #2563eb; }
QPushButton:disabled { background-color: #3d3d4d; color: #71717a; }
QPushButton#saveBtn { background-color: #10b981; }
QPushButton#saveBtn:hover { background-color: #059669; }
)");
}
