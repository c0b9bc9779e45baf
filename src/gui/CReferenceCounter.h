// Shared ownership for views and bitmaps: an object starts with one reference, remember() adds
// one and forget() drops one, deleting the object with its last reference.
#pragma once

class CReferenceCounter {
public:
    CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;
    virtual ~CReferenceCounter() = default;

    void remember() { ++references_; }
    void forget() {
        if (--references_ == 0) delete this;
    }
    int getNbReference() const { return references_; }

private:
    int references_ = 1;
};
