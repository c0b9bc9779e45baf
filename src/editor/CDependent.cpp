#include "editor/CDependent.h"

#include "editor/CValueObject.h"

bool CDependent::setValueObject(CValueObject* value) {
    bound_ = value;
    return value && value->addDependent(this);
}
