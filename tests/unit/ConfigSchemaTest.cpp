// The documented JSON Schema keeps in step with what `read --json` writes: every key the
// writer puts out is described there with a type that admits its value, and every key the
// schema describes is written.

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

#include "config/ConfigJson.h"
#include "sim/DemoImages.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

QJsonObject Schema() {
    const QDir docs(QStringLiteral(KV_SOURCE_DIR "/docs"));
    return QJsonDocument::fromJson(test::ReadAll(docs.filePath("configuration.schema.json")))
        .object();
}

// Checks `value` against the schema node, following references into the root's $defs.
void Check(const QJsonObject& root, QJsonObject node, const QJsonValue& value,
           const QString& path) {
    if (node.contains("$ref"))
        node = root["$defs"][node["$ref"].toString().section('/', -1)].toObject();
    if (node.contains("oneOf")) node = node["oneOf"].toArray()[0].toObject();
    const QString type = node["type"].toString();
    if (value.isObject()) {
        ASSERT_EQ(type, "object") << path.toStdString();
        const QJsonObject properties = node["properties"].toObject();
        EXPECT_EQ(properties.keys(), value.toObject().keys()) << path.toStdString();
        for (const QString& key : value.toObject().keys())
            Check(root, properties[key].toObject(), value[key], path + '.' + key);
    } else if (value.isArray()) {
        ASSERT_EQ(type, "array") << path.toStdString();
        EXPECT_LE(value.toArray().size(), node["maxItems"].toInt()) << path.toStdString();
        for (const QJsonValue& item : value.toArray())
            Check(root, node["items"].toObject(), item, path + "[]");
    } else {
        EXPECT_EQ(type, value.isString() ? "string" : "integer") << path.toStdString();
    }
}

TEST(ConfigSchema, DescribesExactlyWhatTheWriterWrites) {
    const QJsonObject schema = Schema();
    ASSERT_FALSE(schema.isEmpty());
    Check(schema, schema, ConfigToJson(sim::MaximalConfig()), "file");
}

}  // namespace
}  // namespace kv
