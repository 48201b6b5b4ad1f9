#ifndef KZ_OBSERVER_H
#define KZ_OBSERVER_H

class KZ_Subject;

// Mix-in for things that react when a subject they subscribed to notifies.
class KZ_Observer {
public:
    KZ_Observer();

    // Called by `subject`'s notifyObservers(); `data` is always null. Does nothing here.
    virtual void notify(KZ_Subject* subject, void* data);

protected:
    ~KZ_Observer() = default;
};

#endif
