// A view with a value: a float in [min, max] with a default, a tag that tells listeners which
// control changed, a wheel increment, and begin/end edit around a gesture so that the host can
// group automation.
#pragma once

#include "gui/CView.h"

class CControl;

class CControlListener {
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
    virtual void controlBeginEdit(CControl*) {}
    virtual void controlEndEdit(CControl*) {}
};

class CControl : public CView {
public:
    CControl(const CRect& size, CControlListener* listener = nullptr, long tag = 0,
             CBitmap* background = nullptr);

    virtual void setValue(float value) { value_ = value; }
    virtual float getValue() const { return value_; }
    void setMin(float min) { min_ = min; }
    float getMin() const { return min_; }
    void setMax(float max) { max_ = max; }
    float getMax() const { return max_; }
    float getRange() const { return max_ - min_; }
    void setDefaultValue(float value) { default_ = value; }
    float getDefaultValue() const { return default_; }
    void setWheelInc(float increment) { wheelInc_ = increment; }
    float getWheelInc() const { return wheelInc_; }
    void setTag(long tag) { tag_ = tag; }
    long getTag() const { return tag_; }
    void setListener(CControlListener* listener) { listener_ = listener; }
    CControlListener* getListener() const { return listener_; }

    // Limits the value to [min, max].
    void bounceValue();
    // The value mapped to 0..1 over the range (0 when the range is empty).
    float getNormalizedValue() const;
    // Tells the listener that the value changed.
    virtual void valueChanged();
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editing_ > 0; }

    // A control is dirty when its value changed since it was last drawn.
    bool isDirty() const override;
    void setDirty(bool dirty = true) override;
    bool isTypeOf(const char* type) const override;

protected:
    // The value shown when the control was last drawn.
    float oldValue_;

private:
    CControlListener* listener_;
    long tag_;
    float value_ = 0;
    float min_ = 0;
    float max_ = 1;
    float default_ = 0.5f;
    float wheelInc_ = 0.1f;
    int editing_ = 0;
};
