// ScriptValue, the procedure slots through which the application's procedures
// pass arguments and results, and the two save stacks. All of it belongs to
// the script thread; nothing here is locked.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/core/string_value.h"

// Kinds of ScriptValue; any other kind is a floating-point number.
constexpr std::uint32_t KindInteger = 1;
constexpr std::uint32_t KindText = 3;

struct ScriptValue {
    // Kind 0, the empty text, zeros.
    ScriptValue();
    // Kind 1: the integer, its decimal text and its value as a double.
    ScriptValue(std::int32_t n);
    // Kind 3: the text; number and integer 0.
    ScriptValue(const StringValue &t);
    ScriptValue(const char *t);

    std::uint32_t kind;
    StringValue text;
    double number;
    std::int32_t integer;
};

// A kind 3 value: v's text (kind 3), IntegerToText of its integer (kind 1) or
// FloatToText of its number (other kinds), followed by t.
ScriptValue operator+(const ScriptValue &v, const StringValue &t);

// Slot 0 holds the last returned result, slots 1 to 31 the arguments of the
// procedure being entered.
constexpr int SlotCount = 32;
extern ScriptValue ProcedureSlots[SlotCount];
extern std::int32_t ProcedureArgCount;

// Entry to a procedure: copies the arguments into slots 1.. in order and sets
// ProcedureArgCount. No arguments leaves both untouched; at most 31 are taken.
void EnterProcedure(std::initializer_list<ScriptValue> args);
// Stores the result in slot 0 and returns a copy of slot 0.
ScriptValue ReturnInteger(std::int32_t n);
ScriptValue ReturnText(const StringValue &t);
// The integer field of slot i; 0 for a slot number outside 0 to 31.
std::int32_t ArgInteger(int i);
// Identical to ArgInteger, for handle arguments.
std::int32_t ArgHandle(int i);
// A copy of the text field of slot i; the empty text outside 0 to 31.
StringValue ArgText(int i);

// Save stacks: last in, first out, unbounded. Popping an empty stack leaves *v
// unchanged. Words are pointer-sized so that handles and addresses fit.
void PushWord(std::uintptr_t w);
void PopWord(std::uintptr_t *v);
void PushInteger(std::int32_t w);
void PopInteger(std::int32_t *v);
