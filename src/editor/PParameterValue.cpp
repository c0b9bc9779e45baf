#include "editor/PParameterValue.h"

#include "core/Orin.h"
#include "editor/PEditor.h"

PParameterValue::PParameterValue(PEditor& page, int parameter, int id)
    : CValueObject(id), page_(page), parameter_(parameter) {}

float PParameterValue::getValue() const {
    return parameter_ >= 0 ? page_.plugin().getParameter(parameter_) : 0.0f;
}

void PParameterValue::storeValue(float value) {
    if (parameter_ >= 0) page_.setParameterNotified(parameter_, value);
}
