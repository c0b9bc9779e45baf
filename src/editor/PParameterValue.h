// A value object standing for one plug-in parameter of a page. Reading asks the plug-in; writing
// goes through the page's host-notifying setter, so the host records automation and the change
// does not come back to the editor as a refresh. Unbound (index -1) it reads 0 and ignores writes.
#pragma once

#include "editor/CValueObject.h"

class PEditor;

class PParameterValue : public CValueObject {
public:
    PParameterValue(PEditor& page, int parameter = -1, int id = 0);

    // Makes the value stand for another parameter (-1: none); dependents are not told.
    void bind(int parameter) { parameter_ = parameter; }
    int parameterIndex() const override { return parameter_; }
    float getValue() const override;

protected:
    void storeValue(float value) override;

private:
    PEditor& page_;
    int parameter_;
};
