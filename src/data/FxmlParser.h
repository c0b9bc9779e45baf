// A small recursive-descent reader for a subset of XML held in memory as 8-bit text.
//
// It reads tags, attributes, character data, comments and processing instructions, decodes
// character references and a fixed table of named entities, and reports what it finds to the
// virtual callbacks of a subclass. It builds no tree: the subclass decides in onStartElement
// whether to descend into an element's content by calling parse(name) itself.
//
// The text is not copied and must outlive the parser; a zero byte inside it reads like the end.
// Each parse() call keeps a 4096-byte scratch area on the stack for the names, values and texts
// of the construct being read, so the reader allocates nothing; nesting is limited to
// kMaxDepth levels so that hostile input cannot exhaust the stack.
#pragma once

#include <cstddef>

class FxmlParser {
public:
    static constexpr std::size_t kScratchSize = 4096;
    static constexpr int kMaxAttributes = 64;
    static constexpr int kMaxDepth = 32;

    // A length of 0 with a non-null text takes the text's zero-terminated length.
    FxmlParser(const char* text, std::size_t length);
    virtual ~FxmlParser() = default;
    FxmlParser(const FxmlParser&) = delete;
    FxmlParser& operator=(const FxmlParser&) = delete;

    // Reads content until the end of the text (endTag null) or until the end tag named endTag.
    // On false, errorText() tells why when the text itself was at fault; a callback's false
    // leaves it null. Callbacks already made stay made.
    bool parse(const char* endTag);
    const char* errorText() const { return error_; }

protected:
    // One piece of character data (leading and trailing white space kept; white space alone
    // between tags is never delivered). False ends parse() with false.
    virtual bool onCharData(const char* text) = 0;
    // The text between "<?" and "?>"; the answer is ignored.
    virtual bool onProcessingInstruction(const char* text);
    // The text between "<!--" and "-->"; the answer is ignored.
    virtual bool onComment(const char* text);
    // A start tag with `count` attribute pairs in document order, values decoded. isEmpty is true
    // for a tag closed by "/>". For a non-empty element the callback calls parse(name) to read
    // the content and the end tag and passes that result on. False ends parse() with false.
    virtual bool onStartElement(const char* name, bool isEmpty, int count, const char* const* names,
                                const char* const* values) = 0;
    // Reads decoded character data into [buffer, end); answers the position after the
    // terminating zero, or null on error.
    virtual char* readCharData(char* buffer, char* end);
    // The same for a quoted attribute value; the closing quote is stepped over.
    virtual char* readAttributeValue(char* buffer, char* end);
    // Advances by one byte and answers the new current character (0 at or past the end).
    virtual int nextChar();

private:
    int peek(std::size_t ahead) const;
    bool atEnd() const { return current_ == 0; }
    void skipWhiteSpace();
    bool fail(const char* message);
    // Reads a name into [buffer, end); answers the position after its terminating zero or null.
    char* readName(char* buffer, char* end);
    // Decodes one character at the read position into *out; false on a malformed reference.
    bool decodeChar(char* out);
    // Copies text into [buffer, end) until `closing` (2 or 3 characters) and steps over it.
    bool readDelimited(char* buffer, char* end, const char* closing, const char* tooLong,
                       const char* notClosed);
    bool parseComment(char* scratch);
    bool parseProcessingInstruction(char* scratch);
    bool parseEndTag(char* scratch, const char* endTag);
    bool parseStartTag(char* scratch);

    const char* end_;
    const char* position_;
    const char* error_ = nullptr;
    int current_ = 0;
    int depth_ = 0;
};
