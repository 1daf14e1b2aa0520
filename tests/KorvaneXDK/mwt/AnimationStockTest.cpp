/** @file AnimationStockTest.cpp The animation registry: its names, lookups, aliases and registrations. */
#include <algorithm>

#include <gtest/gtest.h>

#include <boost/function.hpp>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/AnimationComponentStock.h"
#include "KorvaneXDK/mwt/FadeInAnimation.h"
#include "KorvaneXDK/mwt/NullAnimationComponent.h"
#include "KorvaneXDK/mwt/RotationYLoopAnimation.h"
#include "KorvaneXDK/mwt/SoftTouchAnimation.h"

using namespace korvane;
using namespace korvane::mwt;

namespace
{

/// In registration order.
const std::vector<std::string> kBuiltIn = {"NullAnimation",
                                           "FadeIn",
                                           "FadeOut",
                                           "SmoothBlinkLoop",
                                           "RollingOpen",
                                           "RollingClose",
                                           "TiltOpen",
                                           "TiltClose",
                                           "TiltCloseDelay",
                                           "VerticalOpen",
                                           "VerticalClose",
                                           "VerticalCenterOpen",
                                           "VerticalCenterOpenSlowly",
                                           "VerticalCenterOpenSlowlyDelay",
                                           "VerticalCenterClose",
                                           "VerticalCenterCloseSlowly",
                                           "SoftTouch",
                                           "SpreadOut",
                                           "SpreadIn",
                                           "SpreadOutDelay",
                                           "ZoomOpen",
                                           "SwingLoop",
                                           "RotationLoop",
                                           "RotationYLoop",
                                           "FlipSlideIn",
                                           "FlipSlideOut",
                                           "HorizontalMirrorStatic"};

/// The error text of a lookup, "message|where".
std::string LookupError(const std::function<void()>& lookup)
{
    try {
        lookup();
    } catch (const EInvalidParameter& e) {
        return e.GetMessage() + "|" + e.GetWhere();
    }
    return "no error";
}

boost::shared_ptr<CAnimationComponentStock> Fresh()
{
    auto stock = boost::shared_ptr<CAnimationComponentStock>(new CAnimationComponentStock());
    stock->RegisterDefaultAnimations();
    return stock;
}

} // namespace

TEST(AnimationStockTest, TheInstanceHoldsTheBuiltInNamesAscending)
{
    boost::shared_ptr<CAnimationComponentStock> stock = CAnimationComponentStock::GetInstance();
    EXPECT_EQ(stock, CAnimationComponentStock::GetInstance());
    std::vector<std::string> sorted = kBuiltIn;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, stock->GetNames());
    EXPECT_EQ("FadeIn", stock->GetNames().front());
    EXPECT_EQ("ZoomOpen", stock->GetNames().back());

    // The output form appends.
    std::vector<std::string> out = {"kept"};
    stock->GetNames(out);
    ASSERT_EQ(28u, out.size());
    EXPECT_EQ("kept", out.front());
    EXPECT_EQ("FadeIn", out[1]);
}

TEST(AnimationStockTest, EveryFactoryMakesANewInstanceNamedAfterItsName)
{
    boost::shared_ptr<CAnimationComponentStock> stock = CAnimationComponentStock::GetInstance();
    for (const std::string& name : kBuiltIn) {
        SCOPED_TRACE(name);
        CAnimationComponentStock::Factory factory = stock->GetFactory(name);
        boost::shared_ptr<CAnimationComponent> a = factory();
        boost::shared_ptr<CAnimationComponent> b = factory();
        ASSERT_TRUE(a && b);
        EXPECT_NE(a, b);
        EXPECT_EQ(name, a->GetName());
        EXPECT_EQ(name, b->GetName());
        EXPECT_EQ(name, stock->Create(name)->GetName());
    }
    EXPECT_TRUE(dynamic_cast<CSoftTouchAnimation*>(stock->Create("SoftTouch").get()));
    EXPECT_TRUE(dynamic_cast<CRotationYLoopAnimation*>(stock->Create("RotationYLoop").get()));
}

TEST(AnimationStockTest, UnknownNamesFailWithTheirSpelling)
{
    boost::shared_ptr<CAnimationComponentStock> stock = Fresh();
    const char* where = "class korvane::mwt::CAnimationComponentStock";
    for (const std::string name : {"fadein", "FADEIN", "", "FadeIn "}) {
        EXPECT_EQ("animation '" + name + "' not found|" + where, LookupError([&] { stock->GetFactory(name); }));
    }
    EXPECT_EQ(std::string("animation 'Nope' not found|") + where,
              LookupError([&] { stock->RegisterAlias("Press", "Nope"); }));
    EXPECT_EQ(kBuiltIn.size(), stock->GetNames().size());

    CAnimationComponentStock::Factory empty;
    EXPECT_THROW(empty(), boost::bad_function_call);
}

TEST(AnimationStockTest, AliasesKeepTheExistingNameAndRegistrationsOverwrite)
{
    boost::shared_ptr<CAnimationComponentStock> stock = Fresh();
    CAnimationComponentStock::Factory handedOut = stock->GetFactory("FadeIn");

    stock->RegisterAlias("Press", "SoftTouch");
    boost::shared_ptr<CAnimationComponent> pressed = stock->Create("Press");
    EXPECT_EQ("SoftTouch", pressed->GetName());
    EXPECT_TRUE(dynamic_cast<CSoftTouchAnimation*>(pressed.get()));

    // An alias replaces a registered name; a registration overwrites silently.
    stock->RegisterAlias("FadeOut", "FadeIn");
    EXPECT_EQ("FadeIn", stock->Create("FadeOut")->GetName());
    stock->RegisterAnimation<CNullAnimationComponent>("FadeIn");
    EXPECT_TRUE(dynamic_cast<CNullAnimationComponent*>(stock->Create("FadeIn").get()));
    EXPECT_EQ("FadeIn", stock->Create("FadeIn")->GetName());

    // Factories already handed out keep what they made; a second default registration changes nothing.
    EXPECT_TRUE(dynamic_cast<CFadeInAnimation*>(handedOut().get()));
    stock->RegisterDefaultAnimations();
    EXPECT_TRUE(dynamic_cast<CNullAnimationComponent*>(stock->Create("FadeIn").get()));
    EXPECT_EQ(kBuiltIn.size() + 1, stock->GetNames().size());
}
