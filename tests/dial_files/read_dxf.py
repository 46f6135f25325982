"""Reads a DXF file with ezdxf (a reader this project did not write) and prints what a test
checks as one JSON object: the release, $INSUNITS, the layers and every LINE, POLYLINE and TEXT
with its layer and points."""
import json
import sys

import ezdxf

document = ezdxf.readfile(sys.argv[1])
space = document.modelspace()
result = {
    "acadver": document.header.get("$ACADVER"),
    "insunits": document.header.get("$INSUNITS"),
    "layers": sorted(layer.dxf.name for layer in document.layers),
    "lines": [
        {"layer": e.dxf.layer, "points": [[e.dxf.start.x, e.dxf.start.y], [e.dxf.end.x, e.dxf.end.y]]}
        for e in space.query("LINE")
    ],
    "polylines": [
        {"layer": e.dxf.layer, "closed": e.is_closed,
         "points": [[v.dxf.location.x, v.dxf.location.y] for v in e.vertices]}
        for e in space.query("POLYLINE")
    ],
    "texts": [{"layer": e.dxf.layer, "text": e.dxf.text} for e in space.query("TEXT")],
}
json.dump(result, sys.stdout)
