#include "framework/rtl/Delegate.h"

#include <gtest/gtest.h>

#include "framework/rtl/Sets.h"

namespace {

class TReceiver : public TObject {
public:
    void First(TObject* sender) { Log += "first:" + std::string(sender ? "s" : "-"); }
    void Second(TObject*) { Log += "second"; }
    virtual int Twice(int x) { return 2 * x; }
    std::string Log;
};

class TOverrider : public TReceiver {
public:
    int Twice(int x) override { return 3 * x; }
};

enum TColourKind : int { ckRed, ckGreen, ckBlue, ckLast = 40 };

}  // namespace

TEST(Delegate, InvokesTheBoundMember) {
    TReceiver r;
    TNotifyEvent event(&r, &TReceiver::First);
    ASSERT_TRUE(event);
    event(&r);
    EXPECT_EQ(r.Log, "first:s");
    EXPECT_EQ(event.Data(), &r);
}

TEST(Delegate, BindingThroughADerivedPointerGivesTheSameDelegate) {
    TOverrider o;
    TReceiver* base = &o;
    EXPECT_EQ(TNotifyEvent(&o, &TReceiver::First), TNotifyEvent(base, &TReceiver::First));
    EXPECT_EQ(TNotifyEvent::Of<&TReceiver::Second>(&o), TNotifyEvent::Of<&TReceiver::Second>(base));
    EXPECT_NE(TNotifyEvent::Of<&TReceiver::Second>(&o), TNotifyEvent::Of<&TReceiver::First>(&o));
}

TEST(Delegate, CompileTimeMembersAndPlainFunctionsBindToo) {
    TReceiver r;
    TNotifyEvent::Of<&TReceiver::Second> (&r)(nullptr);
    EXPECT_EQ(r.Log, "second");
    const auto function = [](void* data, int x) { return *static_cast<int*>(data) + x; };
    int base = 40;
    const auto delegate = TDelegate<int(int)>::FromFunction(function, &base);
    EXPECT_EQ(delegate(2), 42);
    EXPECT_EQ(delegate, TDelegate<int(int)>::FromFunction(function, &base));
    int other = 0;
    EXPECT_NE(delegate, TDelegate<int(int)>::FromFunction(function, &other));
    EXPECT_FALSE(TDelegate<int(int)>::FromFunction(nullptr, &base));
}

TEST(Delegate, ComparesByObjectAndMember) {
    TReceiver a, b;
    const TNotifyEvent first(&a, &TReceiver::First);
    EXPECT_EQ(first, TNotifyEvent(&a, &TReceiver::First));
    EXPECT_NE(first, TNotifyEvent(&b, &TReceiver::First));
    EXPECT_NE(first, TNotifyEvent(&a, &TReceiver::Second));
    EXPECT_NE(first, TNotifyEvent());
    EXPECT_EQ(TNotifyEvent(), TNotifyEvent(nullptr));
}

TEST(Delegate, VirtualMembersDispatchOnTheObject) {
    TOverrider o;
    TDelegate<int(int)> twice(static_cast<TReceiver*>(&o), &TReceiver::Twice);
    EXPECT_EQ(twice(5), 15);
}

TEST(Delegate, EmptyDelegateRaisesInsteadOfCrashing) {
    TNotifyEvent empty;
    EXPECT_FALSE(empty);
    EXPECT_THROW(empty(nullptr), EInvalidOperation);
}

TEST(Delegate, SurvivesErasureAndChecksTheSignature) {
    TReceiver r;
    const TNotifyEvent event(&r, &TReceiver::Second);
    const TMethod method = event.ToMethod();
    EXPECT_TRUE(method.Assigned());
    EXPECT_EQ(method.Data, &r);
    EXPECT_EQ(TNotifyEvent::FromMethod(method), event);
    EXPECT_EQ(method, TNotifyEvent(&r, &TReceiver::Second).ToMethod());
    EXPECT_THROW((TDelegate<int(int)>::FromMethod(method)), EInvalidCast);
    EXPECT_FALSE(TNotifyEvent::FromMethod(TMethod{}));
    TNotifyEvent::FromMethod(method)(nullptr);
    EXPECT_EQ(r.Log, "second");
}

TEST(Set, IncludesExcludesAndCombines) {
    TSet<TColourKind> set{ckRed, ckBlue};
    EXPECT_TRUE(set.Contains(ckRed));
    EXPECT_FALSE(set.Contains(ckGreen));
    set.Include(ckLast).Exclude(ckRed);
    EXPECT_EQ(set.Bits(), (uint64_t{1} << 2) | (uint64_t{1} << 40));
    const TSet<TColourKind> other{ckBlue, ckGreen};
    EXPECT_EQ((set * other), (TSet<TColourKind>{ckBlue}));
    EXPECT_EQ((set + other).Bits(), uint64_t{0b110} | (uint64_t{1} << 40));
    EXPECT_EQ((set - other), (TSet<TColourKind>{ckLast}));
    EXPECT_TRUE((TSet<TColourKind>{ckBlue}) <= set);
    EXPECT_FALSE(other <= set);
    EXPECT_TRUE(TSet<TColourKind>().Empty());
    // Values outside the set's range are ignored rather than shifting out of bounds.
    set.Include(static_cast<TColourKind>(70));
    EXPECT_FALSE(set.Contains(static_cast<TColourKind>(70)));
}

TEST(Set, StoredSizeFollowsTheElementCount) {
    EXPECT_EQ(SetByteSize(8), 1u);
    EXPECT_EQ(SetByteSize(12), 2u);
    EXPECT_EQ(SetByteSize(22), 4u);
    EXPECT_EQ(SetByteSize(33), 8u);
}
