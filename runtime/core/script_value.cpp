// The value model of the application's procedures and the save stacks.
#include "runtime/core/script_value.h"

#include <vector>

#include "runtime/core/number_format.h"
#include "runtime/core/strings.h"

ScriptValue ProcedureSlots[SlotCount];
std::int32_t ProcedureArgCount = 0;

namespace {

std::vector<std::uintptr_t> &WordStack() {
    static std::vector<std::uintptr_t> stack;
    return stack;
}

std::vector<std::int32_t> &IntegerStack() {
    static std::vector<std::int32_t> stack;
    return stack;
}

bool IsSlot(int i) {
    return i >= 0 && i < SlotCount;
}

} // namespace

ScriptValue::ScriptValue() : kind(0), text(), number(0.0), integer(0) {}

ScriptValue::ScriptValue(std::int32_t n) : kind(KindInteger), text(IntegerToText(n)), number(n), integer(n) {}

ScriptValue::ScriptValue(const StringValue &t) : kind(KindText), text(t), number(0.0), integer(0) {}

ScriptValue::ScriptValue(const char *t) : ScriptValue(StringValue(t)) {}

ScriptValue operator+(const ScriptValue &v, const StringValue &t) {
    if (v.kind == KindText)
        return ScriptValue(StrConcat(v.text, t));
    if (v.kind == KindInteger)
        return ScriptValue(StrConcat(IntegerToText(v.integer), t));
    return ScriptValue(StrConcat(FloatToText(v.number), t));
}

void EnterProcedure(std::initializer_list<ScriptValue> args) {
    if (args.size() == 0)
        return;
    int slot = 1;
    for (const ScriptValue &arg : args) {
        if (slot >= SlotCount)
            break;
        ProcedureSlots[slot++] = arg;
    }
    ProcedureArgCount = slot - 1;
}

ScriptValue ReturnInteger(std::int32_t n) {
    ProcedureSlots[0] = ScriptValue(n);
    return ProcedureSlots[0];
}

ScriptValue ReturnText(const StringValue &t) {
    ProcedureSlots[0] = ScriptValue(t);
    return ProcedureSlots[0];
}

std::int32_t ArgInteger(int i) {
    return IsSlot(i) ? ProcedureSlots[i].integer : 0;
}

std::int32_t ArgHandle(int i) {
    return ArgInteger(i);
}

StringValue ArgText(int i) {
    return IsSlot(i) ? ProcedureSlots[i].text : StringValue();
}

void PushWord(std::uintptr_t w) {
    WordStack().push_back(w);
}

void PopWord(std::uintptr_t *v) {
    std::vector<std::uintptr_t> &stack = WordStack();
    if (stack.empty())
        return;
    if (v)
        *v = stack.back();
    stack.pop_back();
}

void PushInteger(std::int32_t w) {
    IntegerStack().push_back(w);
}

void PopInteger(std::int32_t *v) {
    std::vector<std::int32_t> &stack = IntegerStack();
    if (stack.empty())
        return;
    if (v)
        *v = stack.back();
    stack.pop_back();
}
