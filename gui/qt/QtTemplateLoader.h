#pragma once

#include <QUiLoader>

#include <cstddef>

// Builds widgets from designer templates, knowing the program's own control
// classes as well as the toolkit's.
class CQtTemplateLoader final : public QUiLoader {
public:
    explicit CQtTemplateLoader(QObject* parent = nullptr) : QUiLoader(parent) {}
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override;
};

// The widget tree of a template held in memory; null when it cannot be built.
// A template laid out in dialog units (its root's "dialogUnits" property) is
// mapped to pixels of the parent's font.
QWidget* LoadTemplate(const void* data, size_t size, QWidget* parent);
// A template of the program's own resources (IDD_INPUT_STRING, the
// file-name dialog).
QWidget* LoadOwnTemplate(int id, QWidget* parent);

// A control of a template by its IDC_ name or by its number (the "id"
// property every control carries); null when there is none.
QWidget* FindControl(const QWidget* root, const char* name);
QWidget* FindControl(const QWidget* root, int id);
