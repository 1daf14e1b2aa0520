/** @file AnimationComponentStock.cpp The registry of animations by name. */
#include "KorvaneXDK/mwt/AnimationComponentStock.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/AnimationDelayDecorator.h"
#include "KorvaneXDK/mwt/ColorBlinkLoopAnimation.h"
#include "KorvaneXDK/mwt/FadeInAnimation.h"
#include "KorvaneXDK/mwt/FadeOutAnimation.h"
#include "KorvaneXDK/mwt/FlipSlideInAnimation.h"
#include "KorvaneXDK/mwt/FlipSlideOutAnimation.h"
#include "KorvaneXDK/mwt/HorizontalMirrorStaticAnimation.h"
#include "KorvaneXDK/mwt/NullAnimationComponent.h"
#include "KorvaneXDK/mwt/RollingCloseAnimation.h"
#include "KorvaneXDK/mwt/RollingOpenAnimation.h"
#include "KorvaneXDK/mwt/RotationLoopAnimation.h"
#include "KorvaneXDK/mwt/RotationYLoopAnimation.h"
#include "KorvaneXDK/mwt/SoftTouchAnimation.h"
#include "KorvaneXDK/mwt/SpreadInAnimation.h"
#include "KorvaneXDK/mwt/SpreadOutAnimation.h"
#include "KorvaneXDK/mwt/SwingLoopAnimation.h"
#include "KorvaneXDK/mwt/TiltCloseAnimation.h"
#include "KorvaneXDK/mwt/TiltOpenAnimation.h"
#include "KorvaneXDK/mwt/VerticalCenterCloseAnimation.h"
#include "KorvaneXDK/mwt/VerticalCenterOpenAnimation.h"
#include "KorvaneXDK/mwt/VerticalCloseAnimation.h"
#include "KorvaneXDK/mwt/VerticalOpenAnimation.h"
#include "KorvaneXDK/mwt/ZoomOpenAnimation.h"

namespace korvane::mwt
{

namespace
{

boost::shared_ptr<CAnimationComponentStock>& Instance()
{
    static boost::shared_ptr<CAnimationComponentStock> instance;
    return instance;
}

} // namespace

CAnimationComponentStock::CAnimationComponentStock() = default;

CAnimationComponentStock::~CAnimationComponentStock() = default;

boost::shared_ptr<CAnimationComponentStock> CAnimationComponentStock::GetInstance()
{
    boost::shared_ptr<CAnimationComponentStock>& instance = Instance();
    if (!instance) {
        instance.reset(new CAnimationComponentStock());
        instance->RegisterDefaultAnimations();
    }
    return instance;
}

void CAnimationComponentStock::RegisterDefaultAnimations()
{
    if (defaultsRegistered_) {
        return;
    }
    RegisterAnimation<CNullAnimationComponent>("NullAnimation");
    RegisterAnimation<CFadeInAnimation>("FadeIn");
    RegisterAnimation<CFadeOutAnimation>("FadeOut");
    RegisterAnimation<TColorBlinkLoopAnimation<1000, 255, 255, 255, 0>>("SmoothBlinkLoop");
    RegisterAnimation<CRollingOpenAnimation>("RollingOpen");
    RegisterAnimation<CRollingCloseAnimation>("RollingClose");
    RegisterAnimation<CTiltOpenAnimation>("TiltOpen");
    RegisterAnimation<CTiltCloseAnimation>("TiltClose");
    RegisterAnimation<TAnimationDelayDecorator<CTiltCloseAnimation, 200>>("TiltCloseDelay");
    RegisterAnimation<CVerticalOpenAnimation>("VerticalOpen");
    RegisterAnimation<CVerticalCloseAnimation>("VerticalClose");
    RegisterAnimation<TVerticalCenterOpenAnimation<200, 0>>("VerticalCenterOpen");
    RegisterAnimation<TVerticalCenterOpenAnimation<350, 0>>("VerticalCenterOpenSlowly");
    RegisterAnimation<TVerticalCenterOpenAnimation<350, 200>>("VerticalCenterOpenSlowlyDelay");
    RegisterAnimation<TVerticalCenterCloseAnimation<200, 0>>("VerticalCenterClose");
    RegisterAnimation<TVerticalCenterCloseAnimation<350, 0>>("VerticalCenterCloseSlowly");
    RegisterAnimation<CSoftTouchAnimation>("SoftTouch");
    RegisterAnimation<CSpreadOutAnimation>("SpreadOut");
    RegisterAnimation<CSpreadInAnimation>("SpreadIn");
    RegisterAnimation<TAnimationDelayDecorator<CSpreadOutAnimation, 400>>("SpreadOutDelay");
    RegisterAnimation<CZoomOpenAnimation>("ZoomOpen");
    Register("SwingLoop",
             [] { return static_cast<CAnimationComponent*>(new CSwingLoopAnimation(3.0f, 0.17453294f, 0.0f)); });
    Register("RotationLoop", [] { return static_cast<CAnimationComponent*>(new CRotationLoopAnimation(10.0f)); });
    Register("RotationYLoop", [] { return static_cast<CAnimationComponent*>(new CRotationYLoopAnimation(1.0f)); });
    RegisterAnimation<CFlipSlideInAnimation>("FlipSlideIn");
    RegisterAnimation<CFlipSlideOutAnimation>("FlipSlideOut");
    RegisterAnimation<CHorizontalMirrorStaticAnimation>("HorizontalMirrorStatic");
    defaultsRegistered_ = true;
}

CAnimationComponentStock::Factory CAnimationComponentStock::GetFactory(const std::string& name) const
{
    const auto found = factories_.find(name);
    if (found == factories_.end()) {
        throw EInvalidParameter(this, "animation '" + name + "' not found");
    }
    return found->second;
}

std::vector<std::string> CAnimationComponentStock::GetNames() const
{
    std::vector<std::string> names;
    GetNames(names);
    return names;
}

void CAnimationComponentStock::GetNames(std::vector<std::string>& out) const
{
    for (const auto& entry : factories_) {
        out.push_back(entry.first);
    }
}

void CAnimationComponentStock::RegisterAlias(const std::string& newName, const std::string& existingName)
{
    Factory factory = GetFactory(existingName);
    factories_[newName] = factory;
}

boost::shared_ptr<CAnimationComponent> CAnimationComponentStock::Create(const std::string& name) const
{
    return GetFactory(name)();
}

void CAnimationComponentStock::Register(const std::string& name, const boost::function<CAnimationComponent*()>& make)
{
    factories_[name] = [name, make]() {
        boost::shared_ptr<CAnimationComponent> animation(make());
        animation->SetName(name);
        return animation;
    };
}

} // namespace korvane::mwt
