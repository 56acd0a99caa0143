// vandora-form list: the hotspots of every hotspot control in a form, one line each.
#include "tools/form/FormComponents.h"
#include "tools/form/FormFiles.h"
#include "tools/form/FormTool.h"

#include "hotspot/Morvane.h"
#include "platform/PrintableText.h"

namespace vandora::formtool {

namespace {

const char* ShapeTypeName(TSpotShapeType type)
{
    switch (type) {
    case stRectangle: return "stRectangle";
    case stEllipse: return "stEllipse";
    case stPolygon: return "stPolygon";
    }
    return "?";
}

void CollectControls(TComponent& component, std::vector<TMorvane*>& controls)
{
    if (auto* control = dynamic_cast<TMorvane*>(&component))
        controls.push_back(control);
    for (int i = 0; i < component.ComponentCount(); ++i)
        CollectControls(*component.Components(i), controls);
}

void ListHotSpots(const TMorvane& control, std::ostream& out)
{
    const THotSpots& spots = control.HotSpots();
    for (int i = 0; i < spots.Count(); ++i) {
        const THotSpot& h = *spots.Item(i);
        out << i << '\t' << h.ID() << '\t' << PrintableText(h.Name()) << '\t' << ShapeTypeName(h.ShapeType())
            << '\t' << h.X() << '\t' << h.Y() << '\t' << h.Width() << '\t' << h.Height() << '\t'
            << h.Shape().Points().size() << '\t' << h.Angle() << '\n';
    }
}

} // namespace

TCommand ListCommand()
{
    TCommand command;
    command.Name = "list";
    command.Operands = {"FILE"};
    command.Summary = "list the hotspots of every hotspot control in a form";
    command.Help = "Reads FILE (either form) into its components and prints one tab-separated line\n"
                   "per hotspot of every hotspot control, after a header line: index, ID, Name,\n"
                   "ShapeType, X, Y, Width, Height, the number of outline points and Angle.\n"
                   "Control characters in a name (a tab, a line break) are shown as #n.";
    command.Run = [](const TArguments& args, std::ostream& out, std::ostream&) {
        const std::unique_ptr<TComponent> root =
            WithForm(args.Positional[0], [](const QByteArray& form) { return LoadComponents(form); });
        std::vector<TMorvane*> controls;
        CollectControls(*root, controls);
        out << "Index\tID\tName\tShapeType\tX\tY\tWidth\tHeight\tPoints\tAngle\n";
        for (const TMorvane* control : controls)
            ListHotSpots(*control, out);
        return kExitOk;
    };
    return command;
}

} // namespace vandora::formtool
