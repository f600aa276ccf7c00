// The Linux bundles and the Windows resource libraries are made from the same
// sources at build time; these tests read both as built and compare them
// with each other and with the sources, string by string and control by
// control.

#include "GuiApplication.h"

#include "gui/pages/SheetLogic.h"
#include "gui/qt/QtTemplateLoader.h"
#include "language/DialogTemplate.h"
#include "language/OwnResources.h"
#include "language/PeResourceReader.h"
#include "language/QtLanguageLibrary.h"
#include "settings/Settings.h"
#include "text/Utf16Text.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::map<uint16_t, std::string> SourceStrings(const QString& path)
{
    std::map<uint16_t, std::string> strings;
    const QJsonObject table = QJsonDocument::fromJson(ReadFile(path)).object();
    for (auto it = table.begin(); it != table.end(); ++it)
        strings[uint16_t(it.key().toUInt())] = it.value().toString().toStdString();
    return strings;
}

// A control as both systems see it: number (-1 for none), class, caption.
struct Control {
    int id;
    std::string windowClass;
    std::string text;
    bool operator==(const Control&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Control& c)
{
    return out << c.id << " " << c.windowClass << " \"" << c.text << "\"";
}

// The system's class for each toolkit class the generated templates use.
std::string SystemClassOf(const QWidget* widget)
{
    static const std::map<std::string, std::string> classes = {
        {"QGroupBox", "BUTTON"}, {"QPushButton", "BUTTON"}, {"QCheckBox", "BUTTON"},
        {"QLabel", "STATIC"}, {"QLineEdit", "EDIT"}, {"QComboBox", "COMBOBOX"},
        {"QListWidget", "LISTBOX"}, {"QTreeWidget", "SYSLISTVIEW32"}, {"CQtAnimateCtrl", "SYSANIMATE32"}};
    const auto it = classes.find(widget->metaObject()->className());
    return it == classes.end() ? std::string("?") + widget->metaObject()->className() : it->second;
}

std::vector<Control> ToolkitControls(const QWidget& root)
{
    std::vector<Control> controls;
    for (const QWidget* w : root.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QString text;
        if (auto* group = qobject_cast<const QGroupBox*>(w))
            text = group->title();
        else if (auto* button = qobject_cast<const QAbstractButton*>(w))
            text = button->text();
        else if (auto* label = qobject_cast<const QLabel*>(w))
            text = label->text();
        const QVariant id = w->property("id");
        controls.push_back({id.isValid() ? id.toInt() : -1, SystemClassOf(w), text.toStdString()});
    }
    return controls;
}

std::vector<Control> SystemControls(const DialogTemplate& dialog)
{
    std::vector<Control> controls;
    for (const DialogControl& c : dialog.controls) {
        std::string windowClass = Utf16ToUtf8(c.windowClass);
        for (char& ch : windowClass)
            ch = char(std::toupper(static_cast<unsigned char>(ch)));
        controls.push_back({int32_t(c.id), windowClass, Utf16ToUtf8(c.text)});
    }
    return controls;
}

class ResourceParityTest : public testing::Test {
protected:
    // The library built for Windows, opened with the bounded reader.
    bool OpenWindows(const char* name)
    {
        m_image = ReadFile(QStringLiteral(VANTREL_WINDOWS_DLL_DIR "/") + QLatin1String(name));
        return m_reader.Open(reinterpret_cast<const uint8_t*>(m_image.constData()), size_t(m_image.size()));
    }

    // Every string of the source in the Windows library, with nothing more,
    // and the language tag of every resource.
    void ExpectStrings(const std::map<uint16_t, std::string>& source, uint16_t language)
    {
        std::set<uint16_t> ids;
        for (const auto& [id, text] : source) {
            std::u16string wide;
            EXPECT_EQ(m_reader.FindString(id, wide) ? Utf16ToUtf8(wide) : std::string(), text) << id;
            if (!text.empty())
                ids.insert(id);
        }
        const std::vector<uint16_t> built = m_reader.GetStringIds();
        EXPECT_EQ(std::set<uint16_t>(built.begin(), built.end()), ids);
        for (const CPeResourceReader::Resource& resource : m_reader.GetResources())
            EXPECT_EQ(resource.language, language) << resource.type << "/" << resource.id;
    }

    // One template on both systems: caption, font, style and its controls
    // in the same order with the same numbers, classes and captions.
    void ExpectSameTemplate(int id, const void* toolkitTemplate, size_t toolkitSize)
    {
        SCOPED_TRACE(testing::Message() << "template " << id);
        const CPeResourceReader::Resource* resource = m_reader.Find(PE_RT_DIALOG, uint16_t(id));
        ASSERT_NE(resource, nullptr);
        DialogTemplate dialog;
        ASSERT_TRUE(ParseDialogTemplate(resource->data, resource->size, dialog));
        std::unique_ptr<QWidget> root(LoadTemplate(toolkitTemplate, toolkitSize, nullptr));
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(Utf16ToUtf8(dialog.title), root->windowTitle().toStdString());
        EXPECT_EQ(dialog.typeface, u"MS Shell Dlg");
        EXPECT_EQ(dialog.pointSize, 8);
        EXPECT_EQ(dialog.style & 0x48u, 0x48u); // the shell font
        EXPECT_EQ(SystemControls(dialog), ToolkitControls(*root));
        m_templates[id] = dialog;
    }

    // A control of a template checked before, by number.
    const DialogControl* Get(int tmpl, uint32_t id)
    {
        for (const DialogControl& c : m_templates[tmpl].controls) {
            if (c.id == id)
                return &c;
        }
        return nullptr;
    }

    QByteArray m_image;
    CPeResourceReader m_reader;
    std::map<int, DialogTemplate> m_templates;
};

TEST_F(ResourceParityTest, LanguageLibrariesHoldTheSameStringsAndTemplatesOnBothSystems)
{
    const struct {
        const char* name;
        uint16_t language;
    } libraries[] = {{"English.dll", 1033}, {"Italiano.dll", 1040}};
    for (const auto& library : libraries) {
        SCOPED_TRACE(library.name);
        ASSERT_TRUE(OpenWindows(library.name));
        EXPECT_TRUE(m_reader.IsDll());
        std::unique_ptr<CQtLanguageLibrary> bundle(CQtLanguageLibrary::Load(QStringLiteral(VANTREL_BIN_DIR "/") + QLatin1String(library.name)));
        ASSERT_NE(bundle, nullptr);

        const auto source = SourceStrings(QStringLiteral(VANTREL_SOURCE_DIR "/resources/") +
                                          QString::fromLatin1(library.name).chopped(4) + QStringLiteral("/Strings.json"));
        ASSERT_FALSE(source.empty());
        ExpectStrings(source, library.language);
        for (const auto& [id, text] : source) {
            std::string bundled;
            EXPECT_TRUE(bundle->FindString(id, bundled)) << id;
            EXPECT_EQ(bundled, text) << id;
        }

        std::set<int> dialogs;
        for (const CPeResourceReader::Resource& resource : m_reader.GetResources()) {
            if (resource.type == PE_RT_DIALOG)
                dialogs.insert(resource.id);
        }
        // The sheet's pages and the remote window.
        std::set<int> templates(CSheetLogic::BUILD_ORDER.begin(), CSheetLogic::BUILD_ORDER.end());
        templates.insert(IDD_REMOTE);
        EXPECT_EQ(dialogs, templates);
        for (int id = 0; id <= 200; ++id) {
            size_t size = 0;
            const void* tmpl = bundle->FindTemplate(id, size);
            EXPECT_EQ(tmpl != nullptr, dialogs.count(id) == 1) << id;
            if (tmpl != nullptr)
                ExpectSameTemplate(id, tmpl, size);
        }

        // What the program's pages need of their controls on Windows.
        const struct {
            int tmpl;
            uint32_t id;
            const char16_t* windowClass;
            uint32_t mask, style;
        } needs[] = {
            {IDD_DIRLIST, IDC_FOLDER_LIST, u"SYSLISTVIEW32", 0x7, 0x5},  // report view, one row at a time
            {IDD_DIRLIST, IDC_VAR_LIST, u"SYSLISTVIEW32", 0x7, 0x1},     // report view, several rows
            {IDD_DIRLIST, IDC_PC_FOLDERS, u"LISTBOX", 0x1, 0x1},         // tells of selection changes
            {IDD_DIRLIST, IDC_PC_FILES, u"LISTBOX", 0x1, 0x1},
            {IDD_DIRLIST, IDC_PC_PATH, u"STATIC", 0x80, 0x80},           // a path shows its '&' as it is
            {IDD_CONFIG, IDC_LANGUAGE, u"COMBOBOX", 0x3, 0x3},           // a list to choose from
            {IDD_CONFIG, IDC_PORT, u"COMBOBOX", 0x3, 0x2},               // a text or a choice
            {IDD_CONFIG, IDC_TIMEOUT, u"EDIT", 0, 0},
            {IDD_ABOUT, IDC_ANIMATION, u"SYSANIMATE32", 0x4, 0x4},       // plays by itself
            {IDD_GRABSCREEN, IDC_SCREEN_PICTURE, u"STATIC", 0x1F, 0xE},  // shows a bitmap
            {IDD_GRABSCREEN, IDC_ZOOM, u"BUTTON", 0xF, 0x3},             // a check box the user ticks
        };
        for (const auto& need : needs) {
            SCOPED_TRACE(testing::Message() << need.tmpl << "/" << need.id);
            const DialogControl* control = Get(need.tmpl, need.id);
            ASSERT_NE(control, nullptr);
            std::u16string windowClass = control->windowClass;
            for (char16_t& ch : windowClass)
                ch = char16_t(std::toupper(ch));
            EXPECT_EQ(windowClass, need.windowClass);
            EXPECT_EQ(control->style & need.mask, need.style);
            EXPECT_EQ(control->style & 0x10000000u, 0x10000000u); // visible
        }
        // Room for the screen at double size, with the system's dialog font
        // at its usual 6 by 13 pixels a character.
        const DialogControl* picture = Get(IDD_GRABSCREEN, IDC_SCREEN_PICTURE);
        ASSERT_NE(picture, nullptr);
        EXPECT_GE(picture->cx * 6 / 4, 480 + 4);
        EXPECT_GE(picture->cy * 13 / 8, 256 + 4);
        m_templates.clear();
    }
}

TEST_F(ResourceParityTest, ProgramsOwnResourcesMatchAndCarryIconAndVersion)
{
    ASSERT_TRUE(OpenWindows("Program.dll"));
    ExpectStrings(SourceStrings(QStringLiteral(VANTREL_SOURCE_DIR "/resources/program/Strings1040.json")), 1040);
    for (const uint16_t id : m_reader.GetStringIds()) {
        std::u16string wide;
        m_reader.FindString(id, wide);
        EXPECT_EQ(Utf16ToUtf8(wide), LoadOwnString(id)) << id;
    }

    QFile own(QStringLiteral(":/vantrel92/DIALOG/%1").arg(IDD_INPUT_STRING));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    const QByteArray tmpl = own.readAll();
    ExpectSameTemplate(IDD_INPUT_STRING, tmpl.constData(), size_t(tmpl.size()));
    const DialogTemplate& dialog = m_templates[IDD_INPUT_STRING];
    EXPECT_EQ(dialog.cx, 185);
    EXPECT_EQ(dialog.cy, 94);
    EXPECT_EQ(dialog.exStyle, 0x88u); // topmost tool window
    const DialogControl* ok = Get(IDD_INPUT_STRING, 1);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->style & 0xF, 0x1u); // the default button

    EXPECT_NE(m_reader.Find(PE_RT_GROUP_ICON, 144), nullptr);
    const CPeResourceReader::Resource* version = m_reader.Find(PE_RT_VERSION, 1);
    ASSERT_NE(version, nullptr);
    // The fixed part of the version block starts with its signature.
    const std::string block(reinterpret_cast<const char*>(version->data), version->size);
    const size_t at = block.find(std::string("\xBD\x04\xEF\xFE", 4));
    ASSERT_NE(at, std::string::npos);
    ASSERT_LE(at + 24, block.size());
    auto dword = [&](size_t offset) {
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(block[at + offset + size_t(i)]);
        return value;
    };
    const uint32_t productHigh = dword(16);
    const uint32_t productLow = dword(20);
    EXPECT_EQ(productHigh, (1u << 16) | 2u);
    EXPECT_EQ(productLow, 0u);
    // The settings version is read from these numbers on Windows.
    EXPECT_EQ(std::to_string(productHigh >> 16) + "." + std::to_string(productLow >> 16), SettingsVersionText());
}

} // namespace
