// Renders the visual components in their main configurations to PNG files,
// for looking at them without running the windows.
// Usage: components_showcase [FOLDER]   (default: components-showcase)
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include <QApplication>
#include <QWidget>

#include "components/Label3D.h"
#include "components/NetGradient.h"
#include "runtime/Label.h"

using namespace base;
using namespace runtime;
using namespace components;

namespace {

std::filesystem::path folder;

void Save(QWidget& widget, const std::string& name) {
    const auto path = folder / (name + ".png");
    if (!widget.grab().save(QString::fromStdString(path.string()))) {
        std::fprintf(stderr, "components_showcase: cannot write %s\n", path.c_str());
    }
}

// A scene: a parent of the given size with a gradient background, filled by build.
void Scene(const std::string& name, int width, int height, TColor begin, const std::function<void(QWidget&)>& build) {
    QWidget parent;
    parent.resize(width, height);
    TNetGradient background(&parent, "NetGradient1");
    background.SetBounds(0, 0, width, height);
    background.SetBeginColor(begin);
    background.SetCaption(" ");
    build(parent);
    Save(parent, name);
}

TmyLabel3D& Label3D(QWidget& parent, const std::string& caption, TTextStyle style) {
    auto* label = new TmyLabel3D(&parent, "myLabel3d");
    label->SetFont(MakeFont("Verdana", -28, fsBold, clWhite));
    label->SetTransparent(true);
    label->SetTextStyle(style);
    label->SetCaption(caption);
    return *label;
}

void Gradients() {
    TNetGradient plain(nullptr, "NetGradient1");
    Save(plain, "gradient-initial");

    TNetGradient navy(nullptr, "NetGradient1");
    navy.SetBounds(0, 0, 400, 80);
    navy.SetBeginColor(clNavy);
    navy.SetCaption("clNavy to clBtnFace, 255 bands");
    navy.SetFont(MakeFont("MS Sans Serif", -11, fsBold, clWhite));
    Save(navy, "gradient-navy");

    TNetGradient maroon(nullptr, "NetGradient1");
    maroon.SetBounds(0, 0, 400, 80);
    maroon.SetBeginColor(clMaroon);
    maroon.SetFillDirection(fdRightToLeft);
    maroon.SetNumberOfColors(8);
    maroon.SetCaption("clMaroon, right to left, 8 bands");
    Save(maroon, "gradient-maroon-8-bands-right-to-left");
}

void TextStyles() {
    const std::pair<TTextStyle, const char*> styles[] = {
        {tsNone, "tsNone"},
        {tsRaised, "tsRaised"},
        {tsLightRaised, "tsLightRaised"},
        {tsRecessed, "tsRecessed"},
        {tsHeavyRecessed, "tsHeavyRecessed"},
        {tsShadow, "tsShadow"},
    };
    Scene("label3d-text-styles", 420, 6 * 44 + 8, clGray, [&](QWidget& parent) {
        int top = 4;
        for (const auto& [style, name] : styles) {
            TmyLabel3D& label = Label3D(parent, name, style);
            label.SetShift(2);
            label.SetLeft(10);
            label.SetTop(top);
            top += 44;
        }
    });
    Scene("label3d-disabled-and-shift", 420, 100, clGray, [&](QWidget& parent) {
        TmyLabel3D& disabled = Label3D(parent, "disabled, tsRaised", tsRaised);
        disabled.SetLeft(10);
        disabled.SetTop(6);
        disabled.SetEnabled(false);
        TmyLabel3D& shifted = Label3D(parent, "Shift -3, tsShadow", tsShadow);
        shifted.SetShift(-3);
        shifted.SetLeft(14);
        shifted.SetTop(54);
    });
}

void Rotations() {
    Scene("label3d-rotated", 520, 260, clTeal, [&](QWidget& parent) {
        int left = 8;
        for (const int angle : {0, 45, 90, 135, 180, 270, 315}) {
            TmyLabel3D& label = Label3D(parent, std::to_string(angle) + " deg", tsRaised);
            label.SetFont(MakeFont("Verdana", -18, fsBold, clWhite));
            label.SetEscapement(angle);
            label.SetLeft(left);
            label.SetTop(8);
            label.grab(); // the first paint sizes a rotated auto-sized label
            left += label.Width() + 6;
        }
    });
}

void BordersLinksAndEllipses() {
    Scene("label3d-borders-links-ellipsis", 420, 220, clBtnFace, [&](QWidget& parent) {
        const std::pair<TBorderType, const char*> borders[] = {
            {btDefault, "btDefault"}, {btRecessed, "btRecessed"}, {btRaised, "btRaised"}};
        int top = 6;
        for (const auto& [type, name] : borders) {
            TmyLabel3D& label = Label3D(parent, name, tsNone);
            label.SetFont(MakeFont("Arial", -16, 0, clBlack));
            label.SetAutoSize(false);
            label.SetBounds(8, top, 180, 26);
            label.SetAlignment(taCenter);
            label.SetLayout(tlCenter);
            label.SetBorder(true);
            label.SetBorderType(type);
            label.SetBorderColor(clBlue);
            top += 34;
        }
        TmyLabel3D& link = Label3D(parent, "e-mail link", tsNone);
        link.SetFont(MakeFont("Arial", -16, fsUnderline, clBlue));
        link.SetLabelStyle(lsEMailAddress);
        link.SetAddress("suporte@example.invalid");
        link.SetLeft(210);
        link.SetTop(6);
        TmyLabel3D& path = Label3D(parent, "C:\\Arquivos de programas\\WinRAR\\WinRAR.exe", tsNone);
        path.SetFont(MakeFont("Courier New", -14, 0, clBlack));
        path.SetEllipsesStyle(esPath);
        path.SetBounds(210, 40, 200, 20);
        TmyLabel3D& end = Label3D(parent, "an end ellipsis shortens this", tsRecessed);
        end.SetFont(MakeFont("Arial", -16, fsBold, clNavy));
        end.SetEllipsesStyle(esEnd);
        end.SetBounds(210, 70, 200, 24);
    });
}

void Markup() {
    Scene("label3d-markup", 420, 200, clNavy, [&](QWidget& parent) {
        TmyLabel3D& label = Label3D(parent,
                                    "<b>bold</b> <i>italic</i> <u>underline</u>\r\n"
                                    "<c:Red>red</c> <c:Lime>lime</c> <c:$00FFFF>yellow</c> a<b\n"
                                    "right aligned, <c:Aqua>raised</c>",
                                    tsRaised);
        label.SetColored(true);
        label.SetFont(MakeFont("Verdana", -20, 0, clWhite));
        label.SetAutoSize(false);
        label.SetBounds(0, 10, 410, 180);
        label.SetAlignment(taRightJustify);
        label.SetLayout(tlCenter);
    });
}

// The two windows' warnings, as they configure the components.
void Windows() {
    Scene("window-confirmation", 905, 610, clNavy, [&](QWidget& parent) {
        auto* label = new TmyLabel3D(&parent, "myLabel3d1");
        PlaceWarning(*label, {6, 26, 889, 528},
                     "FECHE TODOS OS APLICATIVOS ANTES DE FAZER A ATUALIZAÇÃO *inclusive os terminais**",
                     MakeFont("Verdana", -73, fsBold, clWhite));
        auto* title = new TLabel(&parent, "Label2");
        title->SetBounds(535, 0, 348, 38);
        title->SetFont(MakeFont("Verdana", -32, fsBold | fsItalic, RGB(106, 106, 106)));
        title->SetTransparent(true);
        title->SetCaption("Borvane Quillmark");
    });
    QWidget parent;
    parent.resize(826, 266);
    TNetGradient background(&parent, "NetGradient1");
    background.SetBounds(-88, -344, 914, 610);
    background.SetBeginColor(clMaroon);
    background.SetCaption(" ");
    TmyLabel3D label(&parent, "myLabel3d1");
    PlaceWarning(label, {96, 0, 635, 234}, "ERRO DE SCRIPT AVISAR BORVANE SISTEMAS",
                 MakeFont("Verdana", -64, fsBold, clYellow));
    Save(parent, "window-script-error");
}

void FrameworkLabels() {
    QWidget parent;
    parent.resize(300, 110);
    parent.setStyleSheet("background: white");
    TLabel plain(&parent, "Label1");
    plain.SetFont(MakeFont("MS Sans Serif", -13, 0, clBlack));
    plain.SetTransparent(true);
    plain.SetBounds(8, 8, 0, 0);
    plain.SetCaption("&Accelerator && label");
    TLabel right(&parent, "Label2");
    right.SetFont(MakeFont("Verdana", -13, fsBold, clNavy));
    right.SetAlignment(taRightJustify);
    right.SetBounds(8, 32, 284, 20);
    right.SetCaption("right-justified");
    TLabel disabled(&parent, "Label3");
    disabled.SetFont(MakeFont("Verdana", -16, fsBold, clBlack));
    disabled.SetBounds(8, 60, 0, 0);
    disabled.SetCaption("disabled label");
    disabled.SetEnabled(false);
    Save(parent, "label-framework");
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    folder = argc > 1 ? argv[1] : "components-showcase";
    std::filesystem::create_directories(folder);
    Gradients();
    TextStyles();
    Rotations();
    BordersLinksAndEllipses();
    Markup();
    Windows();
    FrameworkLabels();
    std::printf("%s\n", std::filesystem::absolute(folder).c_str());
    return 0;
}
