/** @file MainFormDesign.cpp The layout of the form a game runs in. */
#include "host/MainFormDesign.h"

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/core/Color4.h"
#include "frontend/forms/FormHelpers.h"

using korvane::Color4;
using korvane::Vector2;

CMainFormDesign::CMainFormDesign() = default;
CMainFormDesign::~CMainFormDesign() = default;

korvane::CTextureCache* CMainFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CMainFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    // No child of this layout shows a picture, so neither cache is read.
    (void)cache;

    SetMaximizeBox(false);
    SetRollUpBox(false);
    SetColor(Color4<float>(0.3f, 0.3f, 0.3f, 0.6f));
    SetDock(kDockFillAll);
    SetName("MainForm");
    SetLocation(Vector2<float>(0.0f, 0.0f));
    SetCloseBox(true);
    SetGroup(1000);
    SetFocusable(true);
    SetGroupKeyBroadcast(false);
    SetBlendMode(0);
    SetDockPadding(0);
    SetSize(Vector2<float>(1920.0f, 1080.0f));
    SetText("");
    SetAppearanceByName(*this, "SkinForm");
    SetKeyPreview(true);
    SetActivateOnClick(true);
    SetFormName("MainForm");
    SetFormStyle(0);
    SetTopMost(false);
    GetFont() = korvane::canvas::CFont("default");

    MessageLabel.reset(new korvane::mwt::CLabel("MessageLabel"));
    MessageLabel->SetGroup(0);
    MessageLabel->SetFocusable(true);
    MessageLabel->SetBlendMode(0);
    MessageLabel->SetText("");
    MessageLabel->SetTextAlignment(0);
    MessageLabel->SetVerticalAlignment(0);
    MessageLabel->SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 1.0f));
    MessageLabel->SetAutoSize(true);
    SetAppearanceByName(*MessageLabel, "Transparent");
    MessageLabel->SetSize(Vector2<float>(226.0f, 35.0f));
    MessageLabel->SetDock(kDockNone);
    MessageLabel->SetFont(korvane::canvas::CFont("QVR2WinMessage"));
    MessageLabel->SetLocation(Vector2<float>(732.0f, 1004.0f));
    MessageLabel->SetCaption("MessageLabel");
    AddControl(MessageLabel);

    DummyFocusablePanel.reset(new korvane::mwt::CPanel("DummyFocusablePanel"));
    DummyFocusablePanel->SetGroup(0);
    DummyFocusablePanel->SetFocusable(true);
    DummyFocusablePanel->SetBlendMode(0);
    DummyFocusablePanel->SetText("");
    DummyFocusablePanel->SetColor(Color4<float>(0.2f, 0.2f, 0.2f, 0.0f));
    SetAppearanceByName(*DummyFocusablePanel, "Transparent");
    DummyFocusablePanel->SetSize(Vector2<float>(48.0f, 44.0f));
    DummyFocusablePanel->SetDock(kDockNone);
    DummyFocusablePanel->SetLocation(Vector2<float>(116.0f, 64.0f));
    DummyFocusablePanel->SetDockPadding(0);
    DummyFocusablePanel->SetGroupKeyBroadcast(false);
    DummyFocusablePanel->SetKeyPreview(false);
    AddControl(DummyFocusablePanel);
}
