#include "data/FxmlParser.h"

#include <cstring>

namespace {

const char* const kNameNotLegal = "Name is not legal";
const char* const kNameTooLong = "Name too long";
const char* const kBadToken = "Bad token encountered";
const char* const kValueInvalid = "Attribute value invalid";
const char* const kValueTooLong = "Attribute value too long";
const char* const kFieldNotValid = "Attribute field not valid";
const char* const kCommentNotClosed = "Non closed comment";
const char* const kInstructionNotClosed = "Non closed processing instruction ( '<? ... ?>')";
const char* const kUnexpectedEndTag = "Non expected end tag";
const char* const kUnsupportedTag = "Non supported '<!' tag";
const char* const kCommentTooLong = "Too long comment";
const char* const kInstructionTooLong = "Too long processing instruction";
const char* const kTooManyAttributes = "Too many attribute/value pairs";
const char* const kEndTagSyntax = "syntax error at end tag";
const char* const kTooDeep = "Too deep nesting";

// Room kept free at the end of the scratch area by the text readers.
constexpr std::ptrdiff_t kTextReserve = 4;
// Only this many characters of an entity name take part in the lookup.
constexpr int kEntityNameLength = 63;

struct Entity {
    const char* name;
    char code;
};

const Entity kEntities[] = {
    {"excl", 0x21},  {"quot", 0x22},   {"num", 0x23},    {"dollar", 0x24}, {"percnt", 0x25},
    {"amp", 0x26},   {"apos", 0x27},   {"lpar", 0x28},   {"rpar", 0x29},   {"ast", 0x2A},
    {"plus", 0x2B},  {"comma", 0x2C},  {"hyphen", 0x2D}, {"period", 0x2E}, {"sol", 0x2F},
    {"colon", 0x3A}, {"semi", 0x3B},   {"lt", 0x3C},     {"equals", 0x3D}, {"gt", 0x3E},
    {"quest", 0x3F}, {"commat", 0x40}, {"lsqb", 0x5B},   {"bsol", 0x5C},   {"rsqb", 0x5D},
    {"circ", 0x5E},  {"horbar", 0x5F}, {"grave", 0x60},  {"lcub", 0x7B},   {"verbar", 0x7C},
    {"rcub", 0x7D},  {"tilde", 0x7E},
};

bool isWhiteSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(int c) {
    return c >= '0' && c <= '9';
}
// Bytes of 128 and above arrive as negative values.
bool isNameStart(int c) {
    return isLetter(c) || isDigit(c) || c < 0 || c == '_' || c == ':';
}
bool isNameChar(int c) {
    return isNameStart(c) || c == '.' || c == '-';
}

int hexValue(int c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char entityCode(const char* name) {
    for (const Entity& entity : kEntities) {
        if (std::strcmp(entity.name, name) == 0) return entity.code;
    }
    return '?';
}

}  // namespace

FxmlParser::FxmlParser(const char* text, std::size_t length) : end_(text), position_(text) {
    if (text && length == 0) length = std::strlen(text);
    if (text) end_ = text + length;
    current_ = peek(0);
}

bool FxmlParser::onProcessingInstruction(const char*) {
    return true;
}

bool FxmlParser::onComment(const char*) {
    return true;
}

int FxmlParser::peek(std::size_t ahead) const {
    if (!position_ || static_cast<std::size_t>(end_ - position_) <= ahead) return 0;
    return static_cast<signed char>(position_[ahead]);
}

int FxmlParser::nextChar() {
    // The end (or a zero byte, which reads like it) is sticky: the position never passes it.
    if (current_ != 0) ++position_;
    current_ = peek(0);
    return current_;
}

void FxmlParser::skipWhiteSpace() {
    while (isWhiteSpace(current_)) nextChar();
}

bool FxmlParser::fail(const char* message) {
    error_ = message;
    return false;
}

char* FxmlParser::readName(char* buffer, char* end) {
    if (!isNameStart(current_)) {
        fail(kNameNotLegal);
        return nullptr;
    }
    char* out = buffer;
    while (isNameChar(current_)) {
        if (end - out < 2) {
            fail(kNameTooLong);
            return nullptr;
        }
        *out++ = static_cast<char>(current_);
        nextChar();
    }
    *out++ = 0;
    return out;
}

bool FxmlParser::decodeChar(char* out) {
    if (current_ != '&') {
        *out = static_cast<char>(current_);
        nextChar();
        return true;
    }
    nextChar();
    if (current_ == '#') {
        unsigned value = 0;  // only the low 8 bits matter, so wrapping is harmless
        if (nextChar() == 'x') {
            nextChar();
            for (int digit = hexValue(current_); digit >= 0; digit = hexValue(nextChar())) {
                value = value * 16 + static_cast<unsigned>(digit);
            }
        } else {
            for (; isDigit(current_); nextChar()) {
                value = value * 10 + static_cast<unsigned>(current_ - '0');
            }
        }
        *out = static_cast<char>(value & 0xFF);
    } else {
        char name[kEntityNameLength + 1];
        int length = 0;
        for (; isLetter(current_) || isDigit(current_); nextChar()) {
            if (length < kEntityNameLength) name[length++] = static_cast<char>(current_);
        }
        name[length] = 0;
        *out = entityCode(name);
    }
    if (current_ != ';') return fail(kBadToken);
    nextChar();
    return true;
}

char* FxmlParser::readCharData(char* buffer, char* end) {
    // A "]]>" sequence is taken as ordinary text: there are no CDATA sections to close.
    char* out = buffer;
    while (current_ != '<' && !atEnd() && end - out > kTextReserve) {
        if (!decodeChar(out)) return nullptr;
        ++out;
    }
    *out++ = 0;
    return out;
}

char* FxmlParser::readAttributeValue(char* buffer, char* end) {
    const int quote = current_;
    if (quote != '"' && quote != '\'') {
        fail(kValueInvalid);
        return nullptr;
    }
    nextChar();
    char* out = buffer;
    while (current_ != quote && current_ != '<' && !atEnd()) {
        if (end - out < kTextReserve) {
            fail(kValueTooLong);
            return nullptr;
        }
        if (!decodeChar(out)) return nullptr;
        ++out;
    }
    nextChar();  // the closing quote, or the less-than sign the value ran into
    *out++ = 0;
    return out;
}

bool FxmlParser::readDelimited(char* buffer, char* end, const char* closing, const char* tooLong,
                               const char* notClosed) {
    const std::size_t closingLength = std::strlen(closing);
    char* out = buffer;
    for (;;) {
        if (atEnd()) return fail(notClosed);
        std::size_t matched = 0;
        while (matched < closingLength && peek(matched) == closing[matched]) ++matched;
        if (matched == closingLength) break;
        if (end - out < 2) return fail(tooLong);
        *out++ = static_cast<char>(current_);
        nextChar();
    }
    *out = 0;
    for (std::size_t i = 0; i < closingLength; ++i) nextChar();
    return true;
}

bool FxmlParser::parseComment(char* scratch) {
    // At "<!": only comments are supported, no document types or CDATA sections.
    if (peek(1) != '-' || peek(2) != '-') return fail(kUnsupportedTag);
    for (int i = 0; i < 3; ++i) nextChar();
    if (!readDelimited(scratch, scratch + kScratchSize, "-->", kCommentTooLong, kCommentNotClosed))
        return false;
    onComment(scratch);
    return true;
}

bool FxmlParser::parseProcessingInstruction(char* scratch) {
    nextChar();  // the "?"
    if (!readDelimited(scratch, scratch + kScratchSize, "?>", kInstructionTooLong,
                       kInstructionNotClosed))
        return false;
    onProcessingInstruction(scratch);
    return true;
}

bool FxmlParser::parseEndTag(char* scratch, const char* endTag) {
    nextChar();  // the "/"
    if (!endTag || !readName(scratch, scratch + kScratchSize) || std::strcmp(scratch, endTag) != 0)
        return fail(kUnexpectedEndTag);
    skipWhiteSpace();
    if (current_ != '>') return fail(kEndTagSyntax);
    nextChar();
    return true;
}

bool FxmlParser::parseStartTag(char* scratch) {
    const char* names[kMaxAttributes];
    const char* values[kMaxAttributes];
    char* const end = scratch + kScratchSize;
    char* const tagName = scratch;
    char* free = readName(scratch, end);
    if (!free) return false;
    int count = 0;
    bool isEmpty = false;
    for (;;) {
        skipWhiteSpace();
        if (current_ == '>') break;
        if (current_ == '/' && peek(1) == '>') {
            isEmpty = true;
            nextChar();
            break;
        }
        if (count == kMaxAttributes) return fail(kTooManyAttributes);
        names[count] = free;
        free = readName(free, end);
        if (!free) return false;
        skipWhiteSpace();
        if (current_ != '=') return fail(kFieldNotValid);
        nextChar();
        skipWhiteSpace();
        values[count] = free;
        free = readAttributeValue(free, end);
        if (!free) return false;
        ++count;
    }
    nextChar();  // the ">"
    return onStartElement(tagName, isEmpty, count, names, values);
}

bool FxmlParser::parse(const char* endTag) {
    if (depth_ >= kMaxDepth) return fail(kTooDeep);
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    } guard(depth_);

    char scratch[kScratchSize];
    for (;;) {
        const char* mark = position_;
        skipWhiteSpace();
        if (atEnd()) return endTag == nullptr;
        if (current_ != '<') {
            position_ = mark;
            current_ = peek(0);
            if (!readCharData(scratch, scratch + kScratchSize)) return false;
            if (!onCharData(scratch)) return false;
            continue;
        }
        bool ok;
        switch (peek(1)) {
            case '!':
                nextChar();
                ok = parseComment(scratch);
                break;
            case '?':
                nextChar();
                ok = parseProcessingInstruction(scratch);
                break;
            case '/':
                nextChar();
                return parseEndTag(scratch, endTag);
            default:
                nextChar();
                ok = parseStartTag(scratch);
                break;
        }
        if (!ok) return false;
    }
}
