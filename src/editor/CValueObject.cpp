#include "editor/CValueObject.h"

#include "editor/CDependent.h"

void CValueObject::setValue(float value, CDependent* source) {
    storeValue(value);
    notifyDependents(source);
}

void CValueObject::notifyDependents(CDependent* source) {
    for (int i = 0; i < count_; ++i) {
        if (dependents_[i] != source) dependents_[i]->update(this);
    }
}

bool CValueObject::addDependent(CDependent* dependent) {
    if (!dependent || count_ >= kMaxDependents) return false;
    dependents_[count_++] = dependent;
    return true;
}
