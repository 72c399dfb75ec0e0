// state_dump.cpp - the nine object arrays, field by field: written out as
// JSON, or folded into one number.
#include "headless/state_dump.h"

#include "scene/vesk_nb_17.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

// Appends one element's fields: {"name": value, ...}. Numbers are written by
// the C++ library's own conversion, the same on every system (C libraries'
// printf differ in the digits they give beyond a double's).
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
    // Nine significant digits, as printf's %.9g gives them. Where the C++
    // library has no conversion of its own for floats (the browser build's),
    // its C library's printf, which rounds exactly as the conversion does.
    void Number(float value) {
        char text[32];
#if defined(__cpp_lib_to_chars)
        const char* end = std::to_chars(text, text + sizeof(text), static_cast<double>(value),
                                        std::chars_format::general, 9)
                              .ptr;
        out_->append(text, static_cast<std::size_t>(end - text));
#else
        std::snprintf(text, sizeof(text), "%.9g", static_cast<double>(value));
        *out_ += text;
#endif
    }

    std::string* out_;
    bool first_ = true;
};

// Folds every field's bits, in the dump's order, into one 64-bit number: each
// value a 32-bit word, the words dealt in turn to four FNV-1a lanes (a word
// at a time, so the byte order of the CPU plays no part; four lanes, so the
// multiplications do not wait on each other), the lanes then folded in order.
class Fold {
  public:
    Fold& Field(const char*, float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return Word(bits);
    }
    Fold& Field(const char*, int value) { return Word(static_cast<std::uint32_t>(value)); }
    Fold& Field(const char* name, const float* values, int count) {
        for (int i = 0; i < count; ++i) {
            Field(name, values[i]);
        }
        return *this;
    }
    std::uint64_t value() const {
        std::uint64_t hash = kBasis;
        for (const std::uint64_t lane : lanes_) {
            hash = (hash ^ lane) * kPrime;
        }
        return hash;
    }

  private:
    static constexpr std::uint64_t kBasis = 0xcbf29ce484222325u;
    static constexpr std::uint64_t kPrime = 0x100000001b3u;

    Fold& Word(std::uint32_t word) {
        std::uint64_t& lane = lanes_[next_];
        lane = (lane ^ word) * kPrime;
        next_ = (next_ + 1) % 4;
        return *this;
    }

    std::uint64_t lanes_[4] = {kBasis, kBasis, kBasis, kBasis};
    unsigned next_ = 0;
};

template <class Sink>
void Visit(Sink&& fields, const Lampje& l) {
    fields.Field("posTarget", l.posTarget, 3)
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

template <class Sink>
void Visit(Sink&& fields, const Camera& c) {
    fields.Field("eyeTarget", c.eyeTarget, 3)
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

template <class Sink>
void Visit(Sink&& fields, const Floor& f) {
    fields.Field("posX", f.posX)
        .Field("posY", f.posY)
        .Field("posZ", f.posZ)
        .Field("scaleX", f.scaleX)
        .Field("scaleY", f.scaleY)
        .Field("colorR", f.colorR)
        .Field("colorG", f.colorG)
        .Field("colorB", f.colorB);
}

template <class Sink>
void Visit(Sink&& fields, const Cloud& c) {
    fields.Field("posX", c.posX)
        .Field("posY", c.posY)
        .Field("posZ", c.posZ)
        .Field("scaleX", c.scaleX)
        .Field("scaleY", c.scaleY)
        .Field("speed", c.speed);
}

template <class Sink>
void Visit(Sink&& fields, const Carz& k) {
    fields.Field("posX", k.posX)
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

template <class Sink>
void Visit(Sink&& fields, const MoverRecord& m) {
    fields.Field("posX", m.posX)
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
const T& Record(const T& object) {
    return object;
}
const MoverRecord& Record(const Moverz& m) {
    return m.record;
}
const MoverRecord& Record(const Moverzbl& m) {
    return m.record;
}
const MoverRecord& Record(const Moverzbl2& m) {
    return m.record;
}
const MoverRecord& Record(const Moverzbl3& m) {
    return m.record;
}

// Hands each object array, with its name, to `each`, in the dump's order.
template <class Each>
void EachArray(Each&& each) {
    each("licht", licht);
    each("Zenith", Zenith);
    each("vloer", vloer);
    each("cloudz", cloudz);
    each("kar", kar);
    each("mover", mover);
    each("moverbl", moverbl);
    each("moverbl2", moverbl2);
    each("moverbl3", moverbl3);
}

} // namespace

std::string SceneStateJson(std::uint32_t seed, long frames, std::optional<WindowSize> window) {
    std::string out =
        "{\n  \"seed\": " + std::to_string(seed) + ",\n  \"frames\": " + std::to_string(frames);
    out += ",\n  \"window\": ";
    out += window ? "{\"width\": " + std::to_string(window->width) +
                        ", \"height\": " + std::to_string(window->height) + "}"
                  : std::string("null");
    // One element a line, so two dumps compare line by line.
    EachArray([&out](const char* name, const auto& array) {
        out += ",\n  \"";
        out += name;
        out += "\": [";
        for (std::size_t i = 0; i < std::size(array); ++i) {
            out += i == 0 ? "\n    " : ",\n    ";
            Visit(Element(&out), Record(array[i]));
        }
        out += "\n  ]";
    });
    out += "\n}\n";
    return out;
}

std::uint64_t SceneStateHash() {
    Fold fold;
    EachArray([&fold](const char*, const auto& array) {
        for (const auto& element : array) {
            Visit(fold, Record(element));
        }
    });
    return fold.value();
}
