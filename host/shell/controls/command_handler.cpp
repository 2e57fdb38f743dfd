// Handler objects made through the class factory of a command's add-in.
#include "host/shell/controls/command_handler.h"

ComPtr<IAddinCommand> MakeCommandHandler(IDocumentServices& services, int32_t commandIndex)
{
    const CommandTableEntry* entry = services.GetCommandEntry(commandIndex);
    if (entry == nullptr) {
        return {};
    }
    IClassFactory* factory = services.GetAddinClassFactory(entry->addinIndex);
    if (factory == nullptr) {
        return {};
    }
    // The handler class stands where the interface id goes.
    void* object = nullptr;
    if (FAILED(factory->CreateInstance(nullptr, entry->handlerClass, &object)) || object == nullptr) {
        return {};
    }
    return ComPtr<IAddinCommand>::Adopt(static_cast<IAddinCommand*>(object));
}
