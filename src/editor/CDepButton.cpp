#include "editor/CDepButton.h"

#include "editor/CValueObject.h"

void CDepButton::update(CValueObject* value) {
    setValue(value->getValue());
    invalid();
}
