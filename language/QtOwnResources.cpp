#include "language/OwnResources.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>

namespace {

std::map<int, std::string> ReadTable(uint16_t language)
{
    std::map<int, std::string> table;
    QFile file(QStringLiteral(":/vantrel92/STRING/%1.json").arg(language));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool ok = false;
        const int id = it.key().toInt(&ok);
        if (ok && it.value().isString())
            table[id] = it.value().toString().toStdString();
    }
    return table;
}

} // namespace

std::string LoadOwnString(int id, uint16_t language)
{
    static std::map<uint16_t, std::map<int, std::string>> s_tables;
    auto found = s_tables.find(language);
    if (found == s_tables.end())
        found = s_tables.emplace(language, ReadTable(language)).first;
    const auto it = found->second.find(id);
    return it == found->second.end() ? std::string() : it->second;
}
