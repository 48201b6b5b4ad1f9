#ifndef KZ_SUBJECT_H
#define KZ_SUBJECT_H

#include <vector>

class KZ_Observer;

// Mix-in for things that tell observers that something happened (for example
// a button that was clicked). Observers are not owned and are not told when
// the subject goes away; the same observer may be subscribed more than once.
class KZ_Subject {
public:
    std::vector<KZ_Observer*> observers; // in subscription order; null marks a slot
                                         // unsubscribed during a notification

    // No observers.
    KZ_Subject();

    // Appends `observer` to the list; `data` is ignored.
    virtual void subscribe(KZ_Observer* observer, void* data);
    // Removes the first entry equal to `observer`, if any; `data` is ignored.
    virtual void unsubscribe(KZ_Observer* observer, void* data);
    // Calls notify(this, nullptr) on every observer, first subscribed first.
    // Observers may subscribe and unsubscribe from inside notify(): the round
    // reaches those that were subscribed when it started and are still
    // subscribed when their turn comes.
    virtual void notifyObservers();

protected:
    ~KZ_Subject() = default;

private:
    int notifying; // nesting depth of running notifyObservers() calls
};

#endif
