/** @file AppearanceStockTest.cpp The appearance registry: its defaults, its names, and the loading of definition files
 * from an in-memory folder with their exact failure texts. */
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/Knob.h"
#include "KorvaneXDK/mwt/SkinKnobAppearance.h"
#include "support/ExpectThrow.h"
#include "support/FakeTexture.h"
#include "support/LogCapture.h"
#include "support/MemoryDataLoader.h"

using korvane::EInvalidOperation;
using korvane::EInvalidParameter;
using korvane::mwt::CControlAppearanceStock;
using korvane::test::ExpectThrowWith;
using korvane::test::LogCapture;
using korvane::test::MemoryDataLoader;
using Names = std::vector<std::string>;

namespace
{

const char* const kWhere = "class korvane::mwt::CControlAppearanceStock";

struct FreshStock
{
    FreshStock() { stock.RegisterDefaultAppearances(); }

    /// Every texture name resolves to the one picture, and is written down.
    korvane::mwt::TextureResolver Resolver()
    {
        return [this](const std::string& name) -> korvane::ITexture* {
            resolved.push_back(name);
            return &picture;
        };
    }

    CControlAppearanceStock stock;
    korvane::test::FakeTexture picture{64, 64};
    Names resolved;
};

std::string Knob(const std::string& name, const std::string& control = "CKnob")
{
    return "Name=" + name + "\r\nAppearance=CSkinKnobAppearance\r\nControl=" + control +
           "\r\nKnobTexture=k.png\r\nBackgroundTexture=b.png\r\n";
}

} // namespace

TEST(AppearanceStock, DefaultsAndTheirNames)
{
    FreshStock fresh;
    EXPECT_EQ((Names{"SimpleButton", "SingleBorder", "SolidColor", "Transparent"}),
              fresh.stock.GetAppearanceNames("CButton"));
    EXPECT_EQ((Names{"SingleBorder", "SolidColor", "Transparent"}), fresh.stock.GetAppearanceNames("CLabel"));
    Names appended{"x"};
    fresh.stock.GetAppearanceNames("CKnob", appended);
    EXPECT_EQ((Names{"x", "SimpleKnob", "SingleBorder", "SolidColor", "Transparent"}), appended);

    // Twelve built-ins, each under the class its constructor names.
    const char* const builtIns[] = {"Transparent",       "SolidColor",      "SingleBorder",      "SimpleForm",
                                    "SimpleButton",      "SimpleScrollBar", "SimpleTrackBar",    "SimpleCheckBox",
                                    "SimpleRadioButton", "SimpleComboBox",  "SimpleProgressBar", "SimpleKnob"};
    for (const char* name : builtIns) {
        boost::shared_ptr<korvane::mwt::IControlAppearance> appearance;
        fresh.stock.Get(appearance, name);
        EXPECT_EQ(name, appearance->GetName());
    }
    // 17 control classes: every one answers; 25 appearance classes: every one creates.
    for (const char* control :
         {"CControl", "CForm", "CPanel", "CLabel", "CButton", "CImage", "CPager", "CListBox", "CEdit", "CScrollBar",
          "CTrackBar", "CCheckBox", "CRadioButton", "CComboBox", "CProgressBar", "CKnob", "CHorizontalSelector"}) {
        EXPECT_NO_THROW(fresh.stock.FindControlClass(control)) << control;
    }
    int classes = 0;
    for (const char* name :
         {"CTransparentApperance",     "CSolidColorAppearance",        "CSingleBorderAppearance",
          "CSimpleFormAppearance",     "CSimpleButtonAppearance",      "CSimpleScrollBarAppearance",
          "CSimpleTrackBarAppearance", "CSimpleCheckBoxAppearance",    "CSimpleRadioButtonAppearance",
          "CSimpleComboBoxAppearance", "CSimpleProgressBarAppearance", "CSimpleKnobAppearance",
          "CSkinAppearance",           "CHorizontalSkinAppearance",    "CVerticalSkinAppearance",
          "CSkinFormAppearance",       "CSkinButtonAppearance",        "CSkinScrollBarAppearance",
          "CSkinTrackBarAppearance",   "CSkinCheckBoxAppearance",      "CSkinRadioButtonAppearance",
          "CSkinComboBoxAppearance",   "CSkinProgressBarAppearance",   "CCropSkinProgressBarAppearance",
          "CSkinKnobAppearance"}) {
        classes += fresh.stock.FindAppearanceClass(name)() ? 1 : 0;
    }
    EXPECT_EQ(25, classes);

    fresh.stock.RegisterDefaultAppearances(); // a second time changes nothing
    EXPECT_EQ(4u, fresh.stock.GetAppearanceNames("CButton").size());
    ExpectThrowWith<EInvalidParameter>([&] { fresh.stock.RegisterControlClass<korvane::mwt::CKnob>("CKnob"); },
                                       "RegisterControlClass(): class name 'CKnob' already exists.", kWhere);
    ExpectThrowWith<EInvalidParameter>(
        [&] { fresh.stock.RegisterAppearanceClass<korvane::mwt::CSkinKnobAppearance>("CSkinKnobAppearance"); },
        "RegisterAppearanceClass(): class name 'CSkinKnobAppearance' already exists.", kWhere);
    ExpectThrowWith<EInvalidParameter>([&] { fresh.stock.GetAppearanceNames("CWidget"); },
                                       "control 'CWidget' not found", kWhere);
}

TEST(AppearanceStock, SharedObjectsFactoriesAndAliases)
{
    FreshStock fresh;
    boost::shared_ptr<korvane::mwt::IControlAppearance> first, second;
    fresh.stock.Get(first, "SimpleKnob");
    fresh.stock.Get(second, "SimpleKnob");
    EXPECT_EQ(first, second);

    const CControlAppearanceStock::Factory factory = fresh.stock.GetFactory("SimpleKnob");
    EXPECT_EQ(first, factory());
    fresh.stock.RegisterAlias("SimpleKnob", "Transparent");
    EXPECT_EQ("Transparent", factory()->GetName()); // looked up at call time

    ExpectThrowWith<EInvalidOperation>([&] { fresh.stock.GetFactory("Nothing"); }, "Appearance not found : 'Nothing'",
                                       kWhere);
    ExpectThrowWith<EInvalidOperation>([&] { fresh.stock.RegisterAlias("A", "Nothing"); },
                                       "Appearance not found : 'Nothing'", kWhere);
}

TEST(AppearanceStock, LoadingDefinitionFiles)
{
    FreshStock fresh;
    MemoryDataLoader loader;
    loader.Add("skin\\knob.INI", Knob("Dial"));
    loader.Add("skin\\old.ini.bak", Knob("Old"));
    loader.Add("skin\\notes.txt", Knob("Notes"));
    loader.Add("skin\\deeper\\inner.ini", Knob("Inner"));
    LogCapture log;
    fresh.stock.LoadAppearances(&loader, "skin", fresh.Resolver());
    EXPECT_EQ((Names{"INFO: load appearance: skin\\knob.INI\n"}), LogCapture::Lines());
    EXPECT_EQ((Names{"k.png", "b.png"}), fresh.resolved);
    EXPECT_EQ((Names{"Dial", "SimpleKnob", "SingleBorder", "SolidColor", "Transparent"}),
              fresh.stock.GetAppearanceNames("CKnob"));
    EXPECT_EQ((Names{"SingleBorder", "SolidColor", "Transparent"}), fresh.stock.GetAppearanceNames("CPanel"));

    const struct
    {
        std::string definition;
        std::string message;
    } failures[] = {
        {Knob("SimpleKnob"), "Add(): appearance name 'SimpleKnob' already exists."},
        {"Name=T\r\nAppearance=CTransparentAppearance\r\nControl=CControl\r\n",
         "appearance class 'CTransparentAppearance' not found"},
        {Knob("Lost", "CDial"), "control 'CDial' not found"},
        {Knob("Wrong", "CCheckBox"), "appearance class 'CSkinKnobAppearance' does not draw control 'CCheckBox'"},
        {Knob("Spaced", "CKnob "), "control 'CKnob ' not found"}, // nothing is trimmed
    };
    for (const auto& failure : failures) {
        FreshStock stock;
        MemoryDataLoader folder;
        folder.Add("skin\\a.ini", Knob("Before"));
        folder.Add("skin\\b.ini", failure.definition);
        folder.Add("skin\\c.ini", Knob("After"));
        LogCapture capture;
        ExpectThrowWith<EInvalidParameter>([&] { stock.stock.LoadAppearances(&folder, "skin", stock.Resolver()); },
                                           failure.message, kWhere);
        // The first failure stops the rest: the earlier file stays, the later one is not read.
        EXPECT_EQ((Names{"INFO: load appearance: skin\\a.ini\n", "INFO: load appearance: skin\\b.ini\n"}),
                  LogCapture::Lines());
        EXPECT_EQ((Names{"Before", "SimpleKnob", "SingleBorder", "SolidColor", "Transparent"}),
                  stock.stock.GetAppearanceNames("CKnob"));
    }

    // A Control appearance fits every control class; an appearance with no name is filed under "".
    FreshStock any;
    korvane::mwt::AppearanceProperties border;
    border.Set("Appearance", "CSingleBorderAppearance");
    border.Set("Control", "CKnob");
    any.stock.LoadAppearance(border, any.Resolver());
    EXPECT_EQ("", any.stock.GetAppearanceNames("CKnob").front());
    ExpectThrowWith<EInvalidParameter>([&] { any.stock.LoadAppearance(border, any.Resolver()); },
                                       "Add(): appearance name '' already exists.", kWhere);
}
