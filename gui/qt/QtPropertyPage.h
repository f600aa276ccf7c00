#pragma once

#include <QWidget>

#include <cstddef>

// One page of the property sheet. Its controls come from a template that the
// sheet hands over (in the program, from the language library); the page
// finds them by their IDC_ names. OnInitDialog runs once, when the page is
// first shown.
class CQtPropertyPage : public QWidget {
    Q_OBJECT
public:
    explicit CQtPropertyPage(int templateId, QWidget* parent = nullptr);

    int GetTemplateId() const { return m_nTemplateId; }

    // Builds the controls from an in-memory template. Without a template, or
    // with one that cannot be built, the page stays empty.
    bool SetTemplate(const void* data, size_t size);
    bool HasControls() const { return m_pControls != nullptr; }
    // The tab caption, the template's title.
    QString GetCaption() const;

    QWidget* GetDlgItem(const char* name) const;
    QWidget* GetDlgItem(int id) const;
    template <class T>
    T* GetControl(const char* name) const
    {
        return qobject_cast<T*>(GetDlgItem(name));
    }

    bool IsInitialised() const { return m_bInitialised; }

protected:
    virtual bool OnInitDialog() { return true; }
    void showEvent(QShowEvent* event) override;

private:
    int m_nTemplateId;
    QWidget* m_pControls = nullptr;
    bool m_bInitialised = false;
};
