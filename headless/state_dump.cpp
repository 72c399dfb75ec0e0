// state_dump.cpp - writing the nine object arrays out, field by field.
#include "headless/state_dump.h"

#include "scene/vesk_nb_17.h"

#include <cstdio>

namespace {

// Appends one element's fields: {"name": value, ...}.
class Element {
  public:
    explicit Element(std::string* out) : out_(out) { *out_ += "{"; }
    ~Element() { *out_ += "}"; }
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    Element& Field(const char* name, float value) {
        Key(name);
        Number(value);
        return *this;
    }
    Element& Field(const char* name, int value) {
        Key(name);
        *out_ += std::to_string(value);
        return *this;
    }
    Element& Field(const char* name, const float* values, int count) {
        Key(name);
        *out_ += "[";
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                *out_ += ", ";
            }
            Number(values[i]);
        }
        *out_ += "]";
        return *this;
    }

  private:
    void Key(const char* name) {
        if (!first_) {
            *out_ += ", ";
        }
        first_ = false;
        *out_ += "\"";
        *out_ += name;
        *out_ += "\": ";
    }
    void Number(float value) {
        char text[32];
        std::snprintf(text, sizeof(text), "%.9g", static_cast<double>(value));
        *out_ += text;
    }

    std::string* out_;
    bool first_ = true;
};

void Dump(std::string* out, const Lampje& l) {
    Element(out)
        .Field("posTarget", l.posTarget, 3)
        .Field("posStart", l.posStart, 3)
        .Field("pos", l.pos, 3)
        .Field("dirTarget", l.dirTarget, 3)
        .Field("dirStart", l.dirStart, 3)
        .Field("dir", l.dir, 3)
        .Field("colorR", l.colorR)
        .Field("colorG", l.colorG)
        .Field("colorB", l.colorB)
        .Field("step", l.step)
        .Field("legLength", l.legLength)
        .Field("timer", l.timer)
        .Field("phase", l.phase)
        .Field("cutoff", l.cutoff);
}

void Dump(std::string* out, const Camera& c) {
    Element(out)
        .Field("eyeTarget", c.eyeTarget, 3)
        .Field("eyeStart", c.eyeStart, 3)
        .Field("eye", c.eye, 3)
        .Field("centerTarget", c.centerTarget, 3)
        .Field("centerStart", c.centerStart, 3)
        .Field("center", c.center, 3)
        .Field("eyeStep", c.eyeStep)
        .Field("eyeLegLength", c.eyeLegLength)
        .Field("centerStep", c.centerStep)
        .Field("centerLegLength", c.centerLegLength)
        .Field("choice", c.choice)
        .Field("centerAxis", c.centerAxis);
}

void Dump(std::string* out, const Floor& f) {
    Element(out)
        .Field("posX", f.posX)
        .Field("posY", f.posY)
        .Field("posZ", f.posZ)
        .Field("scaleX", f.scaleX)
        .Field("scaleY", f.scaleY)
        .Field("colorR", f.colorR)
        .Field("colorG", f.colorG)
        .Field("colorB", f.colorB);
}

void Dump(std::string* out, const Cloud& c) {
    Element(out)
        .Field("posX", c.posX)
        .Field("posY", c.posY)
        .Field("posZ", c.posZ)
        .Field("scaleX", c.scaleX)
        .Field("scaleY", c.scaleY)
        .Field("speed", c.speed);
}

void Dump(std::string* out, const Carz& k) {
    Element(out)
        .Field("posX", k.posX)
        .Field("posY", k.posY)
        .Field("posZ", k.posZ)
        .Field("size", k.size)
        .Field("size2", k.size2)
        .Field("stretch", k.stretch)
        .Field("colorR", k.colorR)
        .Field("colorG", k.colorG)
        .Field("colorB", k.colorB)
        .Field("shape", k.shape)
        .Field("blend", k.blend)
        .Field("corners", k.corners, 24);
}

void Dump(std::string* out, const MoverRecord& m) {
    Element(out)
        .Field("posX", m.posX)
        .Field("posY", m.posY)
        .Field("posZ", m.posZ)
        .Field("scaleX", m.scaleX)
        .Field("scaleY", m.scaleY)
        .Field("scaleZ", m.scaleZ)
        .Field("colorR", m.colorR)
        .Field("colorG", m.colorG)
        .Field("colorB", m.colorB)
        .Field("direction", m.direction)
        .Field("speed", m.speed)
        .Field("travelled", m.travelled)
        .Field("turnDraw", m.turnDraw)
        .Field("laneOffset", m.laneOffset)
        .Field("offsetX", m.offsetX)
        .Field("offsetY", m.offsetY)
        .Field("coinToss", m.coinToss);
}

template <class T>
const T& Fields(const T& object) {
    return object;
}
const MoverRecord& Fields(const Moverz& m) {
    return m.record;
}
const MoverRecord& Fields(const Moverzbl& m) {
    return m.record;
}
const MoverRecord& Fields(const Moverzbl2& m) {
    return m.record;
}
const MoverRecord& Fields(const Moverzbl3& m) {
    return m.record;
}

// One element a line, so two dumps compare line by line.
template <class T, std::size_t N>
void DumpArray(std::string* out, const char* name, const T (&array)[N]) {
    *out += ",\n  \"";
    *out += name;
    *out += "\": [";
    for (std::size_t i = 0; i < N; ++i) {
        *out += i == 0 ? "\n    " : ",\n    ";
        Dump(out, Fields(array[i]));
    }
    *out += "\n  ]";
}

} // namespace

std::string SceneStateJson(std::uint32_t seed, long frames, std::optional<WindowSize> window) {
    std::string out =
        "{\n  \"seed\": " + std::to_string(seed) + ",\n  \"frames\": " + std::to_string(frames);
    out += ",\n  \"window\": ";
    out += window ? "{\"width\": " + std::to_string(window->width) +
                        ", \"height\": " + std::to_string(window->height) + "}"
                  : std::string("null");
    DumpArray(&out, "licht", licht);
    DumpArray(&out, "Zenith", Zenith);
    DumpArray(&out, "vloer", vloer);
    DumpArray(&out, "cloudz", cloudz);
    DumpArray(&out, "kar", kar);
    DumpArray(&out, "mover", mover);
    DumpArray(&out, "moverbl", moverbl);
    DumpArray(&out, "moverbl2", moverbl2);
    DumpArray(&out, "moverbl3", moverbl3);
    out += "\n}\n";
    return out;
}
