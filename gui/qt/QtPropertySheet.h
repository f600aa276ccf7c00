#pragma once

#include <QDialog>

class CQtPropertyPage;
class QHBoxLayout;
class QPushButton;
class QTabWidget;

// A modal window of tabbed pages above a row of buttons: OK (id 1), Cancel
// (id 2), Apply (unless PSH_NOAPPLYNOW) and Help (with PSH_HASHELP, which is
// set by default as the application handles help). Creating the window runs
// OnCreate and then OnInitDialog; destroying it runs OnDestroy.
class CQtPropertySheet : public QDialog {
    Q_OBJECT
public:
    static constexpr unsigned PSH_USEICONID = 0x4;
    static constexpr unsigned PSH_NOAPPLYNOW = 0x80;
    static constexpr unsigned PSH_HASHELP = 0x200;
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int ID_APPLY_NOW = 0x3021;
    static constexpr int IDHELP = 9;

    explicit CQtPropertySheet(const QString& caption, QWidget* parent = nullptr);
    ~CQtPropertySheet() override;

    void AddPage(CQtPropertyPage* page);
    int GetPageCount() const;
    QTabWidget* GetTabControl() const { return m_pTabs; }
    QPushButton* GetButton(int id) const;

    // Creates the window, runs it modally and destroys it; -1 when the
    // window could not be created.
    int DoModal();
    // The window's creation and destruction on their own, for a caller that
    // runs no modal loop (tests).
    bool Create();
    void DestroyWindow();
    bool IsWindowCreated() const { return m_bCreated; }

    unsigned m_dwFlags = PSH_HASHELP;

protected:
    // -1 stops the creation.
    virtual int OnCreate() { return 0; }
    virtual bool OnInitDialog() { return true; }
    virtual void OnDestroy() {}

    // Gathers the buttons that are left in the middle of their row.
    void CentreButtons();
    void RemoveButton(int id);

private:
    void AddButton(int id, const QString& text);

    QTabWidget* m_pTabs;
    QHBoxLayout* m_pButtonRow;
    bool m_bCreated = false;
};
