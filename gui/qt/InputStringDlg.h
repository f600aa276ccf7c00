#pragma once

#include "resources/ControlIds.h"

#include <string>

class QDialog;
class QWidget;

// A small modal dialog with a prompt and one line of input, built from the
// program's own template IDD_INPUT_STRING. The caller sets the prompt and
// the caption (and may preset the text), runs it, and after OK reads back
// m_strText; the dialog checks nothing. Kept between runs, the object
// reopens with the text it last returned.
class CInputStringDlg {
public:
    static constexpr int IDD = IDD_INPUT_STRING;

    explicit CInputStringDlg(QWidget* pParent = nullptr) : m_pParent(pParent) {}
    virtual ~CInputStringDlg() = default;

    // 1 for OK (also Enter), 2 for Cancel (also Escape), -1 when the dialog
    // cannot be built from its template.
    int DoModal();

    std::string m_strPrompt;
    std::string m_strText;
    std::string m_strTitle;

protected:
    // Members to controls when the dialog opens, controls to members on OK.
    virtual void DoDataExchange(QDialog& dialog, bool bSaveAndValidate);
    // The template has no caption: the window takes m_strTitle as it is made.
    virtual bool OnNcCreate(QDialog& dialog);

private:
    QWidget* m_pParent;
};
