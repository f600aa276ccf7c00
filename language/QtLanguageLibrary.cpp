#include "language/QtLanguageLibrary.h"

#include "language/ProgramFolder.h"
#include "language/RccBundleCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QResource>
#include <QXmlStreamReader>

#include <atomic>

namespace {

// Language libraries are a few dozen kilobytes; anything far larger is not one.
constexpr qint64 MAX_BUNDLE_BYTES = 16 * 1024 * 1024;

bool ParseId(const QString& text, int& id)
{
    bool ok = false;
    id = text.toInt(&ok, 10);
    return ok && id >= 0 && id <= 0xFFFF && QString::number(id) == text;
}

// A designer file: well-formed XML whose top element is <ui>.
bool IsWellFormedTemplate(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    bool sawRoot = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && !sawRoot) {
            if (reader.name() != QLatin1String("ui"))
                return false;
            sawRoot = true;
        }
    }
    return !reader.hasError() && sawRoot;
}

bool ReadResourceFile(const QString& path, QByteArray& contents)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    contents = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

CQtLanguageLibrary::~CQtLanguageLibrary()
{
    if (m_bMounted)
        QResource::unregisterResource(reinterpret_cast<const uchar*>(m_bytes.constData()), m_strRoot);
}

CQtLanguageLibrary* CQtLanguageLibrary::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MAX_BUNDLE_BYTES)
        return nullptr;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return nullptr;
    CQtLanguageLibrary* bundle = new CQtLanguageLibrary;
    if (!bundle->Mount(bytes) || !bundle->ReadStrings() || !bundle->ReadTemplates()) {
        delete bundle;
        return nullptr;
    }
    return bundle;
}

bool CQtLanguageLibrary::Mount(const QByteArray& bytes)
{
    if (!IsWholeRccBundle(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())))
        return false;
    static std::atomic<int> s_nMounts{0};
    m_bytes = bytes;
    m_strRoot = QStringLiteral("/vantrel-language-%1").arg(++s_nMounts);
    m_bMounted = QResource::registerResource(reinterpret_cast<const uchar*>(m_bytes.constData()), m_strRoot);
    return m_bMounted;
}

bool CQtLanguageLibrary::ReadStrings()
{
    QByteArray json;
    if (!ReadResourceFile(QStringLiteral(":%1/STRING/table.json").arg(m_strRoot), json))
        return false;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject table = document.object();
    for (auto it = table.begin(); it != table.end(); ++it) {
        int id = 0;
        if (!ParseId(it.key(), id) || !it.value().isString())
            return false;
        m_strings[id] = it.value().toString().toStdString();
    }
    return true;
}

bool CQtLanguageLibrary::ReadTemplates()
{
    const QDir folder(QStringLiteral(":%1/DIALOG").arg(m_strRoot));
    for (const QString& name : folder.entryList(QDir::Files)) {
        int id = 0;
        QByteArray xml;
        if (!ParseId(name, id) || !ReadResourceFile(folder.filePath(name), xml) || !IsWellFormedTemplate(xml))
            return false;
        m_templates[id] = xml;
    }
    return true;
}

const void* CQtLanguageLibrary::FindTemplate(int id, size_t& size) const
{
    const auto it = m_templates.find(id);
    if (it == m_templates.end())
        return nullptr;
    size = size_t(it->second.size());
    return it->second.constData();
}

bool CQtLanguageLibrary::FindString(int id, std::string& text) const
{
    const auto it = m_strings.find(id);
    if (it == m_strings.end())
        return false;
    text = it->second;
    return true;
}

ILanguageModule* LoadLanguageBundle(const std::string& fileName)
{
    const QString name = QString::fromStdString(fileName);
    const QString besideProgram = QDir(QString::fromStdString(ProgramFolder())).filePath(name);
    if (QFileInfo(besideProgram).isFile())
        return CQtLanguageLibrary::Load(besideProgram);
    const QString inCurrent = QDir::current().filePath(name);
    if (QFileInfo(inCurrent).isFile())
        return CQtLanguageLibrary::Load(inCurrent);
    return nullptr;
}
