#include "macro/KrMACallBackData.h"

KrMACallBackData::KrMACallBackData(const KrMACallBackData& other)
    : groupName(other.groupName)
    , number1(other.number1)
    , number2(other.number2)
    , moduleName(other.moduleName)
    , objectIds(other.objectIds)
    , m_macroData(other.m_macroData ? new MacroData(*other.m_macroData) : nullptr) {}

KrMACallBackData& KrMACallBackData::operator=(const KrMACallBackData& other) {
    if (this == &other) return *this;
    // the copy is made before the old data goes, so a failed copy leaves this object whole
    MacroData* copy = other.m_macroData ? new MacroData(*other.m_macroData) : nullptr;
    delete m_macroData;
    m_macroData = copy;
    groupName = other.groupName;
    number1 = other.number1;
    number2 = other.number2;
    moduleName = other.moduleName;
    objectIds = other.objectIds;
    return *this;
}

KrMACallBackData::~KrMACallBackData() {
    delete m_macroData;
}

void KrMACallBackData::initDataClass(const MacroData& data) {
    if (!m_macroData) m_macroData = new MacroData(data);
}
