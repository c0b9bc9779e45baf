// A reference-counted path text with file and directory operations.
//
// The text lives in an owned 1024-byte buffer; every copy into it is cut to fit, so an over-long
// text never overflows (it is shortened instead). Directories end in the platform's separator.
// A path belongs to one thread at a time; only the reference count is safe to share.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "data/VstPlugObject.h"

class FStream;

class VstPath : public VstPlugObject {
public:
    // Size of the path buffer; callers' destination buffers for getPath, getFileName and
    // copyPath must hold this many bytes.
    static constexpr std::size_t kCapacity = 1024;
    // A stored host directory record: a 70-byte header, then the zero-terminated folder text.
    static constexpr std::size_t kRecordHeader = 70;

    // See assign().
    explicit VstPath(const char* source = nullptr);
    VstPath(const VstPath& other);
    VstPath& operator=(const VstPath& other);
    ~VstPath() override;

    virtual void setPath(const char* text);
    virtual void getPath(char* dest) const;
    virtual const char* path() const { return path_; }
    // An absolute path text is taken as it is. Any other source of more than 70 bytes is a host
    // directory record: a 70-byte header, then the zero-terminated folder text, which becomes
    // platform::kDefaultRoot + text. A shorter text is a relative path and is taken as it is.
    // Null leaves the path absent.
    virtual void assign(const char* source);
    virtual bool equals(const char* text) const;
    virtual bool isEmpty() const;
    virtual void getFileName(char* dest) const;
    virtual void setFileName(const char* name);
    virtual void addRef();
    virtual void release();
    virtual void copyPath(char* dest) const;
    virtual bool setPathChecked(const char* text);
    virtual void appendDirectory(const char* name);
    virtual void toParent();
    virtual bool makeDirectory(const char* name);
    virtual bool exists() const;
    // Numbers the file name ("name1.ext", "name2.ext", ...) until it names no existing file.
    // False when no such name fits the buffer.
    virtual bool makeUnique();
    virtual std::size_t storageSize() const;
    virtual std::uint64_t modificationTime() const;
    virtual bool isNewerThan(const VstPath& other) const;
    virtual std::uint64_t userData() const { return userData_; }
    virtual void setUserData(std::uint64_t value) { userData_ = value; }
    virtual std::int32_t refCount() const { return refCount_.load(); }
    virtual void writeTo(FStream& stream);
    virtual void readFrom(FStream& stream);
    virtual void readFixed(FStream& stream);
    // 1 for a path that is absolute on this platform, else 2.
    virtual int pathKind(const char* text) const;

private:
    // Sets the path from `size` bytes at `data` (a text or a directory record); answers how many
    // bytes of `data` the stored form took, or 0 when nothing was taken.
    std::size_t assignBytes(const char* data, std::size_t size);
    // Replaces the buffer by a fresh one holding `text` cut to fit; false when none can be had.
    bool replaceWith(const char* text);
    // Appends `text`, cut to fit.
    void append(const char* text);
    // The position just after the last separator, or null when there is none.
    char* fileNamePart() const;

    char* path_ = nullptr;
    std::uint64_t userData_ = 0;
    std::atomic<std::int32_t> refCount_{1};
};
