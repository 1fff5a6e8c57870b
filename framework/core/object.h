// CObject: the common base of the program's classes, with a run-time class
// record that names the class, its size and its base.
#pragma once

#include <cstddef>
#include <cstdint>

class CArchive;  // serialisation is not used by this program
class CObject;

// Describes one class at run time. Records are static and never copied.
struct CRuntimeClass {
    const char* m_lpszClassName;
    std::size_t m_nObjectSize;
    std::uint32_t m_wSchema;          // 0xFFFF: the class takes no part in serialisation
    CObject* (*m_pfnCreateObject)();  // null: no dynamic creation
    const CRuntimeClass* m_pBaseClass;

    // True when this class is `base` or derives from it.
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    static const CRuntimeClass classCObject;

    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    // Serialisation hook; does nothing here.
    virtual void Serialize(CArchive& ar);

    bool IsKindOf(const CRuntimeClass* pClass) const;
};

// Declares and defines the run-time class record of a class derived from CObject.
#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)         \
    const CRuntimeClass class_name::class##class_name = {      \
        #class_name, sizeof(class_name), 0xFFFF, nullptr,      \
        &base_class_name::class##base_class_name};             \
    const CRuntimeClass* class_name::GetRuntimeClass() const { \
        return &class##class_name;                             \
    }

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)
