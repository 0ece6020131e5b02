#pragma once

class QObject;

// Memory freed by the program stays with the process until the allocator hands it back; after a
// window is taken apart the free pages are handed back to the system at once.
namespace FreedMemory {

// Returns the allocator's free pages to the system; does nothing where the allocator cannot.
void returnToSystem();
// Returns them once the object is destroyed, on the next turn of the event loop, when what went
// with it (children deleted later) has gone too.
void returnAfterDestroyed(QObject* object);

} // namespace FreedMemory
