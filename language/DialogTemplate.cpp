#include "language/DialogTemplate.h"

namespace {

constexpr uint32_t DS_SETFONT = 0x40;
constexpr uint16_t ORDINAL = 0xFFFF;

// Reads the template front to back; any read past the end fails and stays failed.
class CTemplateCursor {
public:
    CTemplateCursor(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Ok() const { return m_bOk; }
    size_t Offset() const { return m_at; }

    uint16_t Word()
    {
        if (!Need(2))
            return 0;
        const uint16_t value = uint16_t(m_data[m_at] | (m_data[m_at + 1] << 8));
        m_at += 2;
        return value;
    }
    uint32_t Dword()
    {
        const uint32_t low = Word();
        return low | (uint32_t(Word()) << 16);
    }
    uint8_t Byte()
    {
        if (!Need(1))
            return 0;
        return m_data[m_at++];
    }
    // A zero-terminated UTF-16 string.
    std::u16string String()
    {
        std::u16string text;
        for (uint16_t unit = Word(); m_bOk && unit != 0; unit = Word())
            text += char16_t(unit);
        return text;
    }
    // A string, or 0xFFFF and a number; `ordinal` is set for the latter.
    std::u16string StringOrOrdinal(uint16_t& ordinal)
    {
        ordinal = 0;
        if (!Need(2))
            return {};
        if (uint16_t(m_data[m_at] | (m_data[m_at + 1] << 8)) == ORDINAL) {
            Word();
            ordinal = Word();
            return {};
        }
        return String();
    }
    void AlignToDword()
    {
        if (m_at % 4 != 0 && Need(4 - m_at % 4))
            m_at += 4 - m_at % 4;
    }
    void Skip(size_t count)
    {
        if (Need(count))
            m_at += count;
    }

private:
    bool Need(size_t count)
    {
        if (m_bOk && count > m_size - m_at)
            m_bOk = false;
        return m_bOk;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
    bool m_bOk = true;
};

std::u16string PredefinedClass(uint16_t ordinal)
{
    static const char16_t* const names[] = {u"BUTTON", u"EDIT", u"STATIC", u"LISTBOX", u"SCROLLBAR", u"COMBOBOX"};
    if (ordinal >= 0x80 && ordinal <= 0x85)
        return names[ordinal - 0x80];
    return {};
}

} // namespace

bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplate& dialog)
{
    dialog = DialogTemplate();
    if (data == nullptr)
        return false;
    CTemplateCursor in(data, size);
    if (in.Word() != 1 || in.Word() != 0xFFFF) // version 1 of the extended format
        return false;
    in.Dword(); // help id
    dialog.exStyle = in.Dword();
    dialog.style = in.Dword();
    const uint16_t nControls = in.Word();
    dialog.x = int16_t(in.Word());
    dialog.y = int16_t(in.Word());
    dialog.cx = int16_t(in.Word());
    dialog.cy = int16_t(in.Word());
    uint16_t ordinal = 0;
    in.StringOrOrdinal(ordinal); // menu
    in.StringOrOrdinal(ordinal); // window class
    dialog.title = in.String();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = in.Word();
        in.Word(); // weight
        in.Byte(); // italic
        in.Byte(); // character set
        dialog.typeface = in.String();
    }
    for (uint16_t i = 0; i < nControls && in.Ok(); ++i) {
        DialogControl control;
        in.AlignToDword();
        in.Dword(); // help id
        control.exStyle = in.Dword();
        control.style = in.Dword();
        control.x = int16_t(in.Word());
        control.y = int16_t(in.Word());
        control.cx = int16_t(in.Word());
        control.cy = int16_t(in.Word());
        control.id = in.Dword();
        control.windowClass = in.StringOrOrdinal(ordinal);
        if (ordinal != 0) {
            control.windowClass = PredefinedClass(ordinal);
            if (control.windowClass.empty())
                return false;
        }
        control.text = in.StringOrOrdinal(ordinal);
        in.Skip(in.Word()); // creation data
        dialog.controls.push_back(control);
    }
    return in.Ok();
}
