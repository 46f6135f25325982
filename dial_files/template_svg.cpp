#include "dial_files/template_svg.h"

#include <QString>

namespace dial_files {
namespace {

QByteArray Number(double value) { return QByteArray::number(value, 'f', 3); }

QByteArray Escaped(const QString& text) { return text.toHtmlEscaped().toUtf8(); }

// Canvas coordinates (y down) of a drawing's point.
struct Placement {
    TemplatePoint origin;
    PlateRect bounds;
    TemplatePoint operator()(TemplatePoint p) const {
        return {origin.x + p.x - bounds.left, origin.y + bounds.top - p.y};
    }
};

void WriteLines(QByteArray& out, Layer layer, const Drawing& drawing, const Placement& place) {
    for (const Polyline& line : drawing.lines) {
        if (line.layer != layer) continue;
        out += line.closed ? "<polygon" : "<polyline";
        out += " stroke-width=\"" + Number(StrokeWidth(line.stroke)) + "\"";
        if (line.stroke == Stroke::Dashed) out += " stroke-dasharray=\"4 2\"";
        out += " points=\"";
        for (std::size_t i = 0; i < line.points.size(); ++i) {
            const TemplatePoint p = place(line.points[i]);
            if (i) out += ' ';
            out += Number(p.x) + ',' + Number(p.y);
        }
        out += "\"/>\n";
    }
}

void WriteLabels(QByteArray& out, Layer layer, const Drawing& drawing, const Placement& place) {
    for (const Label& label : drawing.labels) {
        if (label.layer != layer) continue;
        const TemplatePoint p = place(label.at);
        const char* anchor = label.anchor == Anchor::Start    ? "start"
                             : label.anchor == Anchor::Middle ? "middle"
                                                              : "end";
        out += "<text x=\"" + Number(p.x) + "\" y=\"" + Number(p.y) + "\" font-size=\"" +
               Number(label.size) + "\" text-anchor=\"" + anchor + "\">" + Escaped(label.text) +
               "</text>\n";
    }
}

}  // namespace

QByteArray TemplateSvg(const TemplateDrawing& drawing) {
    const Canvas canvas = CanvasOf(drawing);
    QByteArray out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           Number(canvas.width) + "mm\" height=\"" + Number(canvas.height) + "mm\" viewBox=\"0 0 " +
           Number(canvas.width) + ' ' + Number(canvas.height) + "\">\n";
    out += "<title>Sundial template at true size (1 unit = 1 mm)</title>\n";
    out += "<rect x=\"0\" y=\"0\" width=\"" + Number(canvas.width) + "\" height=\"" +
           Number(canvas.height) + "\" fill=\"#ffffff\"/>\n";
    const Placement plate{canvas.plateOrigin, drawing.plate.bounds};
    const Placement gnomon{canvas.gnomonOrigin, drawing.gnomon.bounds};
    for (Layer layer : kLayers) {
        const QByteArray colour = LayerColour(layer);
        out += QByteArray("<g id=\"") + LayerName(layer) + "\" fill=\"none\" stroke=\"" + colour +
               "\" stroke-linecap=\"butt\" stroke-linejoin=\"round\"";
        out += ">\n";
        WriteLines(out, layer, drawing.plate, plate);
        WriteLines(out, layer, drawing.gnomon, gnomon);
        out += QByteArray("<g fill=\"") + colour +
               "\" stroke=\"none\" font-family=\"Liberation Sans, Arial, Helvetica, "
               "sans-serif\">\n";
        WriteLabels(out, layer, drawing.plate, plate);
        WriteLabels(out, layer, drawing.gnomon, gnomon);
        out += "</g>\n";
        out += "</g>\n";
    }
    out += "</svg>\n";
    return out;
}

}  // namespace dial_files
