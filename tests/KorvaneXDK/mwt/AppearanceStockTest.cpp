/** @file AppearanceStockTest.cpp The appearance registry: its defaults, its names, and the loading of definition files
 * from an in-memory folder with their exact failure texts. */
#include "KorvaneXDK/mwt/SkinKnobAppearance.h"
#include "MwtTest.h"
#include "support/LogCapture.h"
#include "support/MemoryDataLoader.h"

namespace
{

const char* const kWhere = "class korvane::mwt::CControlAppearanceStock";

struct FreshStock
{
    FreshStock() { stock.RegisterDefaultAppearances(); }

    /// Every texture name resolves to the one picture, and is written down.
    TextureResolver Resolver()
    {
        return [this](const std::string& name) -> ITexture* { return resolved.push_back(name), &picture; };
    }

    CControlAppearanceStock stock;
    FakeTexture picture{64, 64};
    Lines resolved;
};

std::string Knob(const std::string& name, const std::string& control = "CKnob")
{
    return "Name=" + name + "\r\nAppearance=CSkinKnobAppearance\r\nControl=" + control +
           "\r\nKnobTexture=k.png\r\nBackgroundTexture=b.png\r\n";
}

} // namespace

TEST(AppearanceStock, DefaultsTheirNamesFactoriesAliasesAndLoadingDefinitionFiles)
{
    FreshStock fresh;
    EXPECT_EQ((Lines{"SimpleButton", "SingleBorder", "SolidColor", "Transparent"}),
              fresh.stock.GetAppearanceNames("CButton"));
    Lines appended{"x"};
    fresh.stock.GetAppearanceNames("CKnob", appended);
    EXPECT_EQ((Lines{"x", "SimpleKnob", "SingleBorder", "SolidColor", "Transparent"}), appended);

    // Twelve built-ins, each filed under the name its constructor gives.
    for (const char* name : {"Transparent", "SolidColor", "SingleBorder", "SimpleForm", "SimpleButton",
                             "SimpleScrollBar", "SimpleTrackBar", "SimpleCheckBox", "SimpleRadioButton",
                             "SimpleComboBox", "SimpleProgressBar", "SimpleKnob"}) {
        boost::shared_ptr<IControlAppearance> appearance;
        fresh.stock.Get(appearance, name);
        EXPECT_EQ(name, appearance->GetName());
    }
    // 17 control classes answer; 25 appearance classes create (the transparent one under its historical spelling,
    // the one definitions use).
    for (const char* control :
         {"CControl", "CForm", "CPanel", "CLabel", "CButton", "CImage", "CPager", "CListBox", "CEdit", "CScrollBar",
          "CTrackBar", "CCheckBox", "CRadioButton", "CComboBox", "CProgressBar", "CKnob", "CHorizontalSelector"}) {
        EXPECT_NO_THROW(fresh.stock.FindControlClass(control)) << control;
    }
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
        EXPECT_TRUE(fresh.stock.FindAppearanceClass(name)()) << name;
    }

    fresh.stock.RegisterDefaultAppearances(); // a second time changes nothing
    EXPECT_EQ(4u, fresh.stock.GetAppearanceNames("CButton").size());
    ExpectThrowWith<EInvalidParameter>([&] { fresh.stock.RegisterControlClass<CKnob>("CKnob"); },
                                       "RegisterControlClass(): class name 'CKnob' already exists.", kWhere);
    ExpectThrowWith<EInvalidParameter>(
        [&] { fresh.stock.RegisterAppearanceClass<CSkinKnobAppearance>("CSkinKnobAppearance"); },
        "RegisterAppearanceClass(): class name 'CSkinKnobAppearance' already exists.", kWhere);
    ExpectThrowWith<EInvalidParameter>([&] { fresh.stock.GetAppearanceNames("CWidget"); },
                                       "control 'CWidget' not found", kWhere);

    // Appearances are shared objects; factories look them up at call time.
    boost::shared_ptr<IControlAppearance> first;
    fresh.stock.Get(first, "SimpleKnob");
    const CControlAppearanceStock::Factory factory = fresh.stock.GetFactory("SimpleKnob");
    EXPECT_EQ(first, factory());
    fresh.stock.RegisterAlias("SimpleKnob", "Transparent");
    EXPECT_EQ("Transparent", factory()->GetName()); // looked up at call time

    ExpectThrowWith<EInvalidOperation>([&] { fresh.stock.GetFactory("Nothing"); }, "Appearance not found : 'Nothing'",
                                       kWhere);
    ExpectThrowWith<EInvalidOperation>([&] { fresh.stock.RegisterAlias("A", "Nothing"); },
                                       "Appearance not found : 'Nothing'", kWhere);

    // Loading definition files.
    FreshStock loaded;
    MemoryDataLoader loader;
    loader.Add("skin\\knob.INI", Knob("Dial"));
    loader.Add("skin\\old.ini.bak", Knob("Old"));
    loader.Add("skin\\notes.txt", Knob("Notes"));
    loader.Add("skin\\deeper\\inner.ini", Knob("Inner"));
    LogCapture log;
    loaded.stock.LoadAppearances(&loader, "skin", loaded.Resolver());
    EXPECT_EQ(std::pair(Lines{"INFO: load appearance: skin\\knob.INI\n"}, Lines{"k.png", "b.png"}),
              std::pair(LogCapture::Lines(), loaded.resolved));
    EXPECT_EQ((Lines{"Dial", "SimpleKnob", "SingleBorder", "SolidColor", "Transparent"}),
              loaded.stock.GetAppearanceNames("CKnob"));
    EXPECT_EQ((Lines{"SingleBorder", "SolidColor", "Transparent"}), loaded.stock.GetAppearanceNames("CPanel"));
    ExpectThrowWith<EInvalidParameter>([&] { loaded.stock.LoadAppearances(nullptr, "skin", loaded.Resolver()); },
                                       "loader is null.", kWhere);

    const std::pair<std::string, std::string> failures[] = {
        {Knob("SimpleKnob"), "Add(): appearance name 'SimpleKnob' already exists."},
        {"Name=T\r\nAppearance=CTransparentAppearance\r\nControl=CControl\r\n",
         "appearance class 'CTransparentAppearance' not found"},
        {Knob("Lost", "CDial"), "control 'CDial' not found"},
        {Knob("Spaced", "CKnob "), "control 'CKnob ' not found"}, // nothing is trimmed
    };
    for (const auto& [definition, message] : failures) {
        FreshStock stock;
        MemoryDataLoader folder;
        folder.Add("skin\\a.ini", Knob("Before"));
        folder.Add("skin\\b.ini", definition);
        folder.Add("skin\\c.ini", Knob("After"));
        LogCapture capture;
        ExpectThrowWith<EInvalidParameter>([&] { stock.stock.LoadAppearances(&folder, "skin", stock.Resolver()); },
                                           message, kWhere);
        // The first failure stops the rest: the earlier file stays, the later one is not read.
        EXPECT_EQ(std::pair(Lines{"INFO: load appearance: skin\\a.ini\n", "INFO: load appearance: skin\\b.ini\n"},
                            Lines{"Before", "SimpleKnob", "SingleBorder", "SolidColor", "Transparent"}),
                  std::pair(LogCapture::Lines(), stock.stock.GetAppearanceNames("CKnob")));
    }

    // A Control appearance fits every control class; an appearance with no name is filed under "".
    FreshStock any;
    AppearanceProperties border;
    border.Set("Appearance", "CSingleBorderAppearance");
    border.Set("Control", "CKnob");
    any.stock.LoadAppearance(border, any.Resolver());
    EXPECT_EQ("", any.stock.GetAppearanceNames("CKnob").front());
    ExpectThrowWith<EInvalidParameter>([&] { any.stock.LoadAppearance(border, any.Resolver()); },
                                       "Add(): appearance name '' already exists.", kWhere);
}

TEST(AppearanceStock, DefinitionsAreFiledUnderTheirControlWhateverTheirClassDrawsAndAMismatchFailsAtFirstUse)
{
    // A button skin filed for every control, and a knob skin filed for check boxes, between two good files.
    FreshStock fresh;
    MemoryDataLoader folder;
    folder.Add("skin\\a.ini", Knob("Before"));
    folder.Add("skin\\b.ini", "Name=Plate\r\nAppearance=CSkinButtonAppearance\r\nControl=CControl\r\n"
                              "BodyRect.width=64\r\nBodyRect.height=64\r\nTexture=p.png\r\n");
    folder.Add("skin\\c.ini", Knob("Wrong", "CCheckBox"));
    folder.Add("skin\\d.ini", Knob("After"));
    LogCapture log;
    ASSERT_NO_THROW(fresh.stock.LoadAppearances(&folder, "skin", fresh.Resolver()));
    EXPECT_EQ(4u, LogCapture::Lines().size());
    EXPECT_EQ((Lines{"After", "Before", "Plate", "SimpleKnob", "SingleBorder", "SolidColor", "Transparent"}),
              fresh.stock.GetAppearanceNames("CKnob"));
    EXPECT_EQ((Lines{"Plate", "SimpleCheckBox", "SingleBorder", "SolidColor", "Transparent", "Wrong"}),
              fresh.stock.GetAppearanceNames("CCheckBox"));

    // Each draws the controls of its own class; a control of another class fails on first use.
    RecordingCanvas fonts;
    LogCanvas canvas;
    const auto use = [&](const boost::shared_ptr<CControl>& control, const char* name) {
        control->AppearanceFactory = fresh.stock.GetFactory(name);
        control->Initialize();
        control->Draw(&canvas);
    };
    EXPECT_NO_THROW(use(Make<CButton>("button", 0, 0, 64, 32), "Plate"));
    EXPECT_NO_THROW(use(Make<CKnob>("knob", 0, 0, 64, 64), "Wrong"));
    const std::pair<boost::shared_ptr<CControl>, const char*> mismatched[] = {
        {Make<CLabel>("label", 0, 0, 64, 32), "Plate"}, {Make<CCheckBox>("check", 0, 0, 64, 32), "Wrong"}};
    for (const auto& [control, name] : mismatched) {
        try {
            use(control, name);
            ADD_FAILURE() << control->GetName() << " drew with " << name;
        } catch (const std::bad_cast& error) {
            EXPECT_STREQ("bad cast", error.what()) << control->GetName();
        }
    }
}
