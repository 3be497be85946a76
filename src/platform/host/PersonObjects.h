#pragma once

#include <QString>

#include <cstdint>

namespace orv::platform {

// The office's client and office master data: set an id, load, read the number, close.
class PersonStamm {
public:
    virtual ~PersonStamm() = default;
    virtual void setId(std::int32_t id) = 0;
    virtual void setKanzlei(bool kanzlei) = 0;
    virtual bool Load(bool withDetails) = 0;
    virtual std::int32_t Nummer() const = 0;
    virtual void Close() = 0;
};

// The office's employee object.
class Mitarbeiter {
public:
    virtual ~Mitarbeiter() = default;
    virtual void setId(std::int32_t id) = 0;
    virtual bool Load(bool withDetails) = 0;
    virtual std::int32_t Nummer() const = 0;
    virtual void Close() = 0;
};

// Describes, for the problem report, why creating an object of the host product may fail:
// the command and the library it comes from, and what is known about that library here.
class ErstellungsInfo {
public:
    virtual ~ErstellungsInfo() = default;
    virtual QString Info(const QString& command, const QString& library) = 0;
};

}  // namespace orv::platform
