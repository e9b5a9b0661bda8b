// Procedure slots, save stacks, memory areas and bits.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "runtime/core/bits.h"
#include "runtime/core/memory_areas.h"
#include "runtime/core/script_value.h"

namespace {

std::string B(const StringValue &s) {
    return std::string(s.data, s.length);
}

TEST(ScriptValue, KindsAndTheirFields) {
    const ScriptValue none;
    EXPECT_EQ(none.kind, 0u);
    EXPECT_EQ(none.text.length, 0u);
    const ScriptValue number(-42);
    EXPECT_EQ(number.kind, KindInteger);
    EXPECT_EQ(B(number.text), "-42");
    EXPECT_EQ(number.number, -42.0);
    EXPECT_EQ(number.integer, -42);
    const ScriptValue text(StringValue("7"));
    EXPECT_EQ(text.kind, KindText);
    EXPECT_EQ(text.integer, 0);
    EXPECT_EQ(text.number, 0.0);
}

TEST(ScriptValue, AppendingTextByKind) {
    EXPECT_EQ(B((ScriptValue(12) + StringValue("px")).text), "12px");
    EXPECT_EQ(B((ScriptValue("a") + StringValue("b")).text), "ab");
    ScriptValue real;
    real.kind = 2;
    real.number = 0.5;
    const ScriptValue joined = real + StringValue("!");
    EXPECT_EQ(joined.kind, KindText);
    EXPECT_EQ(B(joined.text), "0.500000!");
}

TEST(ScriptValue, CallingConventionThroughTheSlots) {
    EnterProcedure({5, StringValue("name"), 7});
    EXPECT_EQ(ProcedureArgCount, 3);
    EXPECT_EQ(ArgInteger(1), 5);
    EXPECT_EQ(B(ArgText(2)), "name");
    EXPECT_EQ(ArgHandle(3), 7);
    // A call without arguments leaves the slots and the count alone.
    EnterProcedure({});
    EXPECT_EQ(ProcedureArgCount, 3);
    EXPECT_EQ(ArgInteger(1), 5);

    const ScriptValue result = ReturnText(StringValue("done"));
    EXPECT_EQ(B(result.text), "done");
    EXPECT_EQ(B(ArgText(0)), "done");
    EXPECT_EQ(ReturnInteger(9).integer, 9);
    EXPECT_EQ(ProcedureSlots[0].kind, KindInteger);
    EXPECT_EQ(ArgInteger(32), 0);
    EXPECT_EQ(B(ArgText(-1)), "");
}

TEST(SaveStacks, LastInFirstOutAndEmptyPopsLeaveTheVariable) {
    PushInteger(1);
    PushInteger(2);
    PushWord(UINTPTR_MAX);
    std::int32_t a = 0, b = 0, untouched = 77;
    PopInteger(&a);
    PopInteger(&b);
    PopInteger(&untouched);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(untouched, 77);
    std::uintptr_t w = 0;
    PopWord(&w);
    EXPECT_EQ(w, UINTPTR_MAX); // the two stacks are independent
    w = 5;
    PopWord(&w);
    EXPECT_EQ(w, 5u);
}

TEST(MemoryAreas, DimAgainReplacesTheBlockAndDisposeClearsTheVariable) {
    char *area = nullptr;
    DimArea(&area, 16);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(AreaSize(area), 16);
    EXPECT_EQ(std::memcmp(area, std::string(16, '\0').data(), 16), 0);
    std::memset(area, 'x', 16);

    // The first block is freed (ASan would report the leak otherwise).
    DimArea(&area, 32);
    EXPECT_EQ(AreaSize(area), 32);
    EXPECT_EQ(area[31], '\0');

    char *empty = nullptr;
    DimArea(&empty, 0);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(AreaSize(empty), 0);

    DisposeArea(&area);
    DisposeArea(&empty);
    EXPECT_EQ(area, nullptr);
    EXPECT_EQ(empty, nullptr);
    char *never = reinterpret_cast<char *>(&never);
    DisposeArea(&never); // never given a block: only cleared
    EXPECT_EQ(never, nullptr);
    EXPECT_EQ(AreaSize(&never), 0);
}

TEST(Bits, SetBitTakesTheBitNumberModulo32) {
    EXPECT_EQ(SetBit(0, 3, 1), 8);
    EXPECT_EQ(SetBit(15, 3, 0), 7);
    EXPECT_EQ(SetBit(0, 35, 1), 8);
    EXPECT_EQ(SetBit(0, 31, 1), INT32_MIN);
    EXPECT_EQ(SetBit(-1, 31, 0), INT32_MAX);
    EXPECT_EQ(SetBit(0, -1, 1), INT32_MIN);
}

} // namespace
