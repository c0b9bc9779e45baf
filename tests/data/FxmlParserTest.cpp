#include <gtest/gtest.h>

#include <string>

#include "data/FxmlParser.h"

namespace {

// Keeps the text alive for the parser, which does not copy it.
struct OwnedText {
    std::string text;
};

// Records every callback and descends into every element.
class Recorder : private OwnedText, public FxmlParser {
public:
    explicit Recorder(const std::string& source)
        : OwnedText{source}, FxmlParser(text.data(), text.size()) {}
    std::string log;

protected:
    bool onCharData(const char* text) override {
        log += "text[" + std::string(text) + "]";
        return true;
    }
    bool onComment(const char* text) override {
        log += "comment[" + std::string(text) + "]";
        return true;
    }
    bool onProcessingInstruction(const char* text) override {
        log += "pi[" + std::string(text) + "]";
        return true;
    }
    bool onStartElement(const char* name, bool isEmpty, int count, const char* const* names,
                        const char* const* values) override {
        log += "<" + std::string(name);
        for (int i = 0; i < count; ++i) log += " " + std::string(names[i]) + "=" + values[i];
        log += isEmpty ? "/>" : ">";
        if (isEmpty) return true;
        const bool ok = parse(name);
        log += "</" + std::string(name) + ">";
        return ok;
    }
};

struct Outcome {
    bool ok;
    std::string error;
    std::string log;
};

Outcome run(const std::string& text) {
    Recorder r(text);
    const bool ok = r.parse(nullptr);
    return {ok, r.errorText() ? r.errorText() : "", r.log};
}

std::string attributes(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += " a" + std::to_string(i) + "='" + std::to_string(i) + "'";
    return text;
}

TEST(FxmlParser, DecodesEntitiesAndCharacterReferences) {
    const Outcome o = run("<r>A&lt;B&#65;&#x41;&nosuch;</r>");
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.log, "<r>text[A<BAA?]</r>");
    EXPECT_EQ(run("<r>&excl;&tilde;&bsol;&horbar;&#x;</r>").log, "<r>text[!~\\_]</r>");
    // Only the low eight bits of a reference count; upper-case hex digits are accepted.
    EXPECT_EQ(run("<r>&#321;&#x1Ff;</r>").log, "<r>text[A\xff]</r>");
}

TEST(FxmlParser, ReportsEachMalformedConstruct) {
    std::string deep;
    for (int i = 0; i < 10000; ++i) deep += "<a>";
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"<r><s>", ""},              // the text ends inside an element: a failure without message
        {deep, "Too deep nesting"},  // refused before the stack runs out
        {"<r>a&lt b</r>", "Bad token encountered"},
        {"<r>&#65</r>", "Bad token encountered"},
        {"<r a='&amp'/>", "Bad token encountered"},
        {"<r a=b/>", "Attribute value invalid"},
        {"<r a/>", "Attribute field not valid"},
        {"<-r/>", "Name is not legal"},
        {"<r -a='1'/>", "Name is not legal"},
        {"<r><!-- open", "Non closed comment"},
        {"<?pi open", "Non closed processing instruction ( '<? ... ?>')"},
        {"<r></s>", "Non expected end tag"},
        {"</r>", "Non expected end tag"},
        {"<r></r x>", "syntax error at end tag"},
        {"<!DOCTYPE r><r/>", "Non supported '<!' tag"},
        {"<r><![CDATA[x]]></r>", "Non supported '<!' tag"},
    };
    for (const auto& c : cases) {
        const Outcome o = run(c.text);
        EXPECT_FALSE(o.ok) << c.text.substr(0, 40);
        EXPECT_EQ(o.error, c.error) << c.text.substr(0, 40);
    }
}

TEST(FxmlParser, ScratchAreaAndAttributeLimitsAreErrorsNotOverflows) {
    const std::string big(5000, 'x');
    EXPECT_EQ(run("<" + big + "/>").error, "Name too long");
    EXPECT_EQ(run("<r a='" + big + "'/>").error, "Attribute value too long");
    EXPECT_EQ(run("<!--" + big + "-->").error, "Too long comment");
    EXPECT_EQ(run("<?" + big + "?>").error, "Too long processing instruction");
    // Names and values of one element share the area.
    std::string shared = "<r";
    for (int i = 0; i < 3; ++i)
        shared += " n" + std::to_string(i) + "='" + big.substr(0, 1500) + "'";
    EXPECT_EQ(run(shared + "/>").error, "Attribute value too long");
    // 64 attributes, but not 65.
    const Outcome ok = run("<r" + attributes(64) + "/>");
    EXPECT_TRUE(ok.ok) << ok.error;
    EXPECT_NE(ok.log.find("a63=63/>"), std::string::npos);
    EXPECT_EQ(run("<r" + attributes(65) + "/>").error, "Too many attribute/value pairs");
}

TEST(FxmlParser, DeliversNestingAttributesAndTextPieces) {
    const Outcome o = run(
        "<?xml version='1.0'?>\n<!-- first -->\n<a x=\"1\" y = '2'>\n  <b/>  hello  <c z='&quot;'>"
        "t</c>\n</a>\n");
    EXPECT_TRUE(o.ok) << o.error;
    EXPECT_EQ(o.log,
              "pi[xml version='1.0']comment[ first ]<a x=1 y=2><b/>text[  hello  ]"
              "<c z=\">text[t]</c></a>");
    // Names may start with a digit; a value that runs into "<" ends there; a section's closing
    // mark is text; a zero byte reads like the end of the text.
    EXPECT_EQ(run("<1a v='x< />").log, "<1a v=x/>");
    EXPECT_EQ(run("<r>a]]>b</r>").log, "<r>text[a]]>b]</r>");
    EXPECT_TRUE(run(std::string("<r/>\0<s", 7)).ok);
}

TEST(FxmlParser, LongTextArrivesInPieces) {
    const std::string text(10000, 'q');
    Recorder r("<r>" + text + "</r>");
    EXPECT_TRUE(r.parse(nullptr));
    // 4092 + 4092 + 1816 characters, each piece wrapped in text[...].
    const std::string expected = "<r>text[" + text.substr(0, 4092) + "]text[" +
                                 text.substr(0, 4092) + "]text[" + text.substr(0, 1816) + "]</r>";
    EXPECT_TRUE(r.log == expected) << "pieces differ; log length " << r.log.size();
}

TEST(FxmlParser, CallbackRefusalStopsWithoutMessage) {
    class Refuser : public Recorder {
    public:
        using Recorder::Recorder;

    protected:
        bool onStartElement(const char* name, bool, int, const char* const*,
                            const char* const*) override {
            return std::string(name) != "stop";
        }
    };
    Refuser r("<go/><stop/><never/>");
    EXPECT_FALSE(r.parse(nullptr));
    EXPECT_EQ(r.errorText(), nullptr) << r.errorText();
}

}  // namespace
