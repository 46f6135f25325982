#include "dial_files/template_dxf.h"

#include <QString>

#include <algorithm>

namespace dial_files {
namespace {

// The colour numbers of the CAD palette: 7 black on white (white on black), 1 red, 3 green,
// 5 blue.
int ColourNumber(Layer layer) {
    switch (layer) {
        case Layer::Errors:
            return 1;
        case Layer::Style:
            return 3;
        case Layer::Dates:
            return 5;
        case Layer::Plate:
        case Layer::Hours:
        case Layer::Gnomon:
        case Layer::Text:
            break;
    }
    return 7;
}

class Dxf {
  public:
    void Code(int code, const QByteArray& value) {
        out_ += QByteArray::number(code).rightJustified(3, ' ') + '\n' + value + '\n';
    }
    void Code(int code, int value) { Code(code, QByteArray::number(value)); }
    void Code(int code, double value) { Code(code, QByteArray::number(value, 'f', 4)); }
    void Point(int code, TemplatePoint p) {
        Code(code, p.x);
        Code(code + 10, p.y);
        Code(code + 20, 0.0);
    }
    QByteArray Take() { return std::move(out_); }

  private:
    QByteArray out_;
};

// Release 12 text is in the ANSI code page: the degree and plus-minus signs as its control
// codes, other characters beyond it as their nearest ASCII.
QByteArray DxfText(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        if (c == u'\u00b0') {
            out += "%%d";
        } else if (c == u'\u00b1') {
            out += "%%p";
        } else if (c == u'\u2212') {
            out += '-';
        } else if (c == u'\u2191') {
            out += '^';
        } else if (c.unicode() < 128 && c.unicode() >= 32) {
            out += char(c.unicode());
        } else {
            out += '?';
        }
    }
    return out;
}

void WriteTables(Dxf& dxf) {
    dxf.Code(0, "SECTION");
    dxf.Code(2, "TABLES");
    dxf.Code(0, "TABLE");
    dxf.Code(2, "LTYPE");
    dxf.Code(70, 2);
    const struct {
        const char* name;
        const char* description;
        std::vector<double> pattern;
    } types[] = {{"CONTINUOUS", "Solid line", {}}, {"DASHED", "__ __ __", {4.0, -2.0}}};
    for (const auto& type : types) {
        dxf.Code(0, "LTYPE");
        dxf.Code(2, type.name);
        dxf.Code(70, 0);
        dxf.Code(3, type.description);
        dxf.Code(72, 65);
        dxf.Code(73, int(type.pattern.size()));
        double total = 0;
        for (double dash : type.pattern) total += std::abs(dash);
        dxf.Code(40, total);
        for (double dash : type.pattern) dxf.Code(49, dash);
    }
    dxf.Code(0, "ENDTAB");
    dxf.Code(0, "TABLE");
    dxf.Code(2, "LAYER");
    dxf.Code(70, int(std::size(kLayers)));
    for (Layer layer : kLayers) {
        dxf.Code(0, "LAYER");
        dxf.Code(2, LayerName(layer));
        dxf.Code(70, 0);
        dxf.Code(62, ColourNumber(layer));
        dxf.Code(6, "CONTINUOUS");
    }
    dxf.Code(0, "ENDTAB");
    dxf.Code(0, "TABLE");
    dxf.Code(2, "STYLE");
    dxf.Code(70, 1);
    dxf.Code(0, "STYLE");
    dxf.Code(2, "STANDARD");
    dxf.Code(70, 0);
    dxf.Code(40, 0.0);
    dxf.Code(41, 1.0);
    dxf.Code(50, 0.0);
    dxf.Code(71, 0);
    dxf.Code(42, 2.5);
    dxf.Code(3, "txt");
    dxf.Code(4, "");
    dxf.Code(0, "ENDTAB");
    dxf.Code(0, "ENDSEC");
}

void WriteEntities(Dxf& dxf, const Drawing& drawing, TemplatePoint shift) {
    const auto moved = [&](TemplatePoint p) { return TemplatePoint{p.x + shift.x, p.y + shift.y}; };
    for (const Polyline& line : drawing.lines) {
        const QByteArray layer = LayerName(line.layer);
        if (line.points.size() == 2 && !line.closed && line.layer != Layer::Dates) {
            dxf.Code(0, "LINE");
            dxf.Code(8, layer);
            if (line.stroke == Stroke::Dashed) dxf.Code(6, "DASHED");
            dxf.Point(10, moved(line.points[0]));
            dxf.Point(11, moved(line.points[1]));
            continue;
        }
        dxf.Code(0, "POLYLINE");
        dxf.Code(8, layer);
        if (line.stroke == Stroke::Dashed) dxf.Code(6, "DASHED");
        dxf.Code(66, 1);
        dxf.Point(10, {0, 0});
        dxf.Code(70, line.closed ? 1 : 0);
        for (const TemplatePoint& p : line.points) {
            dxf.Code(0, "VERTEX");
            dxf.Code(8, layer);
            dxf.Point(10, moved(p));
        }
        dxf.Code(0, "SEQEND");
        dxf.Code(8, layer);
    }
    for (const Label& label : drawing.labels) {
        const TemplatePoint at = moved(label.at);
        dxf.Code(0, "TEXT");
        dxf.Code(8, LayerName(label.layer));
        dxf.Point(10, at);
        dxf.Code(40, 0.7 * label.size);  // a capital's height: about 0.7 of the font's size
        dxf.Code(1, DxfText(label.text));
        if (label.anchor != Anchor::Start) {
            dxf.Code(72, label.anchor == Anchor::Middle ? 1 : 2);
            dxf.Point(11, at);
        }
    }
}

}  // namespace

QByteArray TemplateDxf(const TemplateDrawing& drawing) {
    const PlateRect& p = drawing.plate.bounds;
    const PlateRect& g = drawing.gnomon.bounds;
    const TemplatePoint shift{p.right + kCanvasGap - g.left, p.top - g.top};
    const TemplatePoint low{p.left, std::min(p.bottom, g.bottom + shift.y)};
    const TemplatePoint high{g.right + shift.x, p.top};
    Dxf dxf;
    dxf.Code(999, "Sundial template at true size: 1 unit = 1 mm, origin at the style's root");
    dxf.Code(0, "SECTION");
    dxf.Code(2, "HEADER");
    dxf.Code(9, "$ACADVER");
    dxf.Code(1, "AC1009");
    dxf.Code(9, "$INSUNITS");
    dxf.Code(70, 4);
    dxf.Code(9, "$MEASUREMENT");
    dxf.Code(70, 1);
    dxf.Code(9, "$EXTMIN");
    dxf.Point(10, low);
    dxf.Code(9, "$EXTMAX");
    dxf.Point(10, high);
    dxf.Code(0, "ENDSEC");
    WriteTables(dxf);
    dxf.Code(0, "SECTION");
    dxf.Code(2, "BLOCKS");
    dxf.Code(0, "ENDSEC");
    dxf.Code(0, "SECTION");
    dxf.Code(2, "ENTITIES");
    WriteEntities(dxf, drawing.plate, {0, 0});
    WriteEntities(dxf, drawing.gnomon, shift);
    dxf.Code(0, "ENDSEC");
    dxf.Code(0, "EOF");
    return dxf.Take();
}

}  // namespace dial_files
