// The streaming writer gives what the value's dump gives, in whole lines.
#include "frontend/json.h"

#include <QStringList>

#include <gtest/gtest.h>

using frontend::Json;
using frontend::JsonWriter;

TEST(JsonWriter, WritesWhatDumpWritesInWholeLines)
{
    Json big = Json::array();
    for (int i = 0; i < 5000; ++i)
        big.push(Json::object().set("i", i).set("text", QStringLiteral("line \"%1\"\n\t\u2028").arg(i)));
    const Json doc = Json::object()
                         .set("empty", Json::object())
                         .set("none", Json::array())
                         .set("null", Json())
                         .set("flag", true)
                         .set("nested", Json::object().set("a", Json::array().push(1).push(Json::array())))
                         .set("big", big);

    QStringList chunks;
    JsonWriter w([&](const QString &chunk) { chunks << chunk; });
    w.beginObject();
    w.key("empty").beginObject().endObject();
    w.key("none").beginArray().endArray();
    w.field("null", Json());
    w.field("flag", true);
    w.key("nested").beginObject().key("a").beginArray().value(1).beginArray().endArray().endArray().endObject();
    w.key("big").beginArray();
    for (int i = 0; i < 5000; ++i)
        w.value(Json::object().set("i", i).set("text", QStringLiteral("line \"%1\"\n\t\u2028").arg(i)));
    w.endArray();
    w.endObject();
    w.finish();

    EXPECT_GT(chunks.size(), 2); // handed over as it went
    for (const QString &chunk : chunks)
        EXPECT_FALSE(chunk.endsWith(QLatin1Char('\n')));
    EXPECT_EQ(chunks.join(QLatin1Char('\n')).toStdString(), doc.dump().toStdString());

    QStringList single;
    JsonWriter scalar([&](const QString &chunk) { single << chunk; });
    scalar.beginArray().endArray();
    scalar.finish();
    EXPECT_EQ(single.join(QLatin1Char('\n')).toStdString(), "[]");
}
