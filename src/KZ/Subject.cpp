#include "KZ/Subject.h"

#include "KZ/Observer.h"

#include <algorithm>

KZ_Subject::KZ_Subject()
    : notifying(0) {}

void KZ_Subject::subscribe(KZ_Observer* observer, void*) {
    observers.push_back(observer);
}

void KZ_Subject::unsubscribe(KZ_Observer* observer, void*) {
    auto entry = std::find(observers.begin(), observers.end(), observer);
    if (entry == observers.end()) {
        return;
    }
    if (notifying > 0) {
        // A notification is walking the list: leave a hole instead of moving
        // the later observers under its feet. The hole is closed when the
        // outermost notification ends.
        *entry = nullptr;
    } else {
        observers.erase(entry);
    }
}

void KZ_Subject::notifyObservers() {
    notifying++;
    // Only those subscribed when the round started; they are read afresh so
    // that one unsubscribed meanwhile is skipped.
    const size_t count = observers.size();
    for (size_t i = 0; i < count; i++) {
        KZ_Observer* observer = observers[i];
        if (observer != nullptr) {
            observer->notify(this, nullptr);
        }
    }
    notifying--;
    if (notifying == 0) {
        observers.erase(std::remove(observers.begin(), observers.end(), nullptr), observers.end());
    }
}
