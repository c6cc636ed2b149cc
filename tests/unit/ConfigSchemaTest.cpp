// The documented JSON Schema keeps in step with what `read --json` writes: every key the
// writer puts out is described there with a type that admits its value, and every key the
// schema describes is written.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "MaximalConfig.h"
#include "config/ConfigJson.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

QJsonObject Schema() {
    const QDir docs(QStringLiteral(KV_SOURCE_DIR "/docs"));
    return QJsonDocument::fromJson(test::ReadAll(docs.filePath("configuration.schema.json")))
        .object();
}

class SchemaWalk {
public:
    explicit SchemaWalk(QJsonObject root) : root_(std::move(root)) {}

    void Check(QJsonObject node, const QJsonValue& value, const QString& path) {
        if (node.contains("$ref"))
            node = root_.value("$defs")
                       .toObject()
                       .value(node.value("$ref").toString().section('/', -1))
                       .toObject();
        if (node.contains("oneOf")) node = node["oneOf"].toArray()[0].toObject();
        const QString type = node["type"].toString();
        if (value.isObject()) {
            ASSERT_EQ(type, "object") << path.toStdString();
            const QJsonObject properties = node["properties"].toObject();
            EXPECT_EQ(properties.keys(), value.toObject().keys()) << path.toStdString();
            for (const QString& key : value.toObject().keys())
                Check(properties[key].toObject(), value[key], path + '.' + key);
        } else if (value.isArray()) {
            ASSERT_EQ(type, "array") << path.toStdString();
            EXPECT_LE(value.toArray().size(), node["maxItems"].toInt()) << path.toStdString();
            for (const QJsonValue& item : value.toArray())
                Check(node["items"].toObject(), item, path + "[]");
        } else if (value.isString()) {
            EXPECT_EQ(type, "string") << path.toStdString();
        } else {
            EXPECT_EQ(type, "integer") << path.toStdString();
        }
    }

private:
    QJsonObject root_;
};

TEST(ConfigSchema, DescribesExactlyWhatTheWriterWrites) {
    const QJsonObject schema = Schema();
    ASSERT_FALSE(schema.isEmpty());
    SchemaWalk(schema).Check(schema, ConfigToJson(test::MaximalConfig()), "file");
}

}  // namespace
}  // namespace kv
