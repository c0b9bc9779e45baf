// A value several controls show at once. Whoever changes it names itself as the source, and every
// other dependent is updated, so that a knob, its text field and a display stay in step without
// the control that moved being told its own value back. Two identifiers mean what the owner
// wants (an envelope and a kind, for example).
#pragma once

class CDependent;

class CValueObject {
public:
    static constexpr int kMaxDependents = 10;

    explicit CValueObject(int id1 = 0, int id2 = 0) : id1_(id1), id2_(id2) {}
    virtual ~CValueObject() = default;
    CValueObject(const CValueObject&) = delete;
    CValueObject& operator=(const CValueObject&) = delete;

    virtual float getValue() const { return value_; }
    // Stores `value`, then updates every dependent except `source`.
    void setValue(float value, CDependent* source = nullptr);
    // Updates every dependent except `source` with the value as it is.
    void notifyDependents(CDependent* source = nullptr);
    // False (and nothing registered) when kMaxDependents are registered already.
    bool addDependent(CDependent* dependent);
    void clearDependents() { count_ = 0; }
    int dependentCount() const { return count_; }

    // The plug-in parameter behind the value, -1 for none.
    virtual int parameterIndex() const { return -1; }
    int id1() const { return id1_; }
    int id2() const { return id2_; }

protected:
    // Where setValue puts the value (the cached value here).
    virtual void storeValue(float value) { value_ = value; }

private:
    CDependent* dependents_[kMaxDependents] = {};
    int count_ = 0;
    int id1_;
    int id2_;
    float value_ = 0;
};
