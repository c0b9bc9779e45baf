// Something kept in step with one or more value objects: a control showing a parameter, a text
// field, a display. A value object calls update() after its value changed. A control that stands
// for one value registers with setValueObject; its gestures are then that value's gestures.
#pragma once

class CValueObject;

class CDependent {
public:
    virtual ~CDependent() = default;
    // `value` has a new value; take it over and redraw.
    virtual void update(CValueObject* value) = 0;

    // Registers with `value` and stands for it from now on; false when the value object has no
    // room left (this dependent then stands for it without being updated).
    bool setValueObject(CValueObject* value);
    CValueObject* boundValue() const { return bound_; }

private:
    CValueObject* bound_ = nullptr;
};
