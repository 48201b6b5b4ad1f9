#include "ScriptScene.h"

#include "BackGroundImage.h"
#include "CharacterSprite.h"
#include "ScriptButton.h"
#include "ScriptDocument.h"
#include "ScriptObject.h"
#include "ScriptPlayer.h"
#include "ScriptTopic.h"
#include "XarnCurrentSelected.h"
#include "XarnMenuOpciones.h"
#include "XarnTextClickable.h"

ScriptScene::ScriptScene(ScriptPlayer* player, const ScriptGame::Scene& model)
    : player(player)
    , model(model) {
    using Thing = ScriptGame::Thing;
    const ScriptGame& game = player->game;
    dialogBox->fontPath = game.fontPath();
    currentSelected->fontPath = game.fontPath();
    if (!model.backdrop.file.empty()) {
        optionsMenu->setBackdrop("res/" + model.backdrop.file);
    }
    // Buttons come first, as a title screen's do: each adds its button as it is made.
    std::vector<ScriptButton*> buttons;
    for (const Thing& thing : model.things) {
        if (thing.kind == Thing::BUTTON) {
            buttons.push_back(new ScriptButton(this, player, thing));
            if (thing.conditional) {
                conditional.push_back({buttons.back()->button, &thing});
            }
        }
    }
    if (!model.background.file.empty()) {
        add(new BackGroundImage("res/" + model.background.file));
    }
    for (const std::string& name : model.portraits) {
        CharacterSprite* portrait =
            new CharacterSprite("res/" + game.character(name)->picture.file);
        portraits[name] = portrait;
        add(portrait);
    }
    for (const Thing& thing : model.things) {
        KZ_Invader2D* entity = nullptr;
        if (thing.kind == Thing::OBJECT) {
            objects.push_back(new ScriptObject(this, player, thing));
            entity = objects.back();
        } else if (thing.kind == Thing::DOCUMENT) {
            documents.push_back(new ScriptDocument(this, player, thing));
            entity = documents.back();
        } else if (thing.kind == Thing::TOPIC) {
            entity = new ScriptTopic(this, player, thing);
        } else {
            continue;
        }
        add(entity);
        if (thing.conditional) {
            conditional.push_back({entity, &thing});
        }
    }
    for (ScriptButton* button : buttons) {
        add(button);
    }
}

CharacterSprite* ScriptScene::portrait(const std::string& name) const {
    auto found = portraits.find(name);
    return found == portraits.end() ? nullptr : found->second;
}

void ScriptScene::refresh() {
    // Parked where the closed menus go: out of the window and of the mouse's reach.
    for (const Shown& shown : conditional) {
        shown.entity->setX(player->holds(shown.thing->when) ? shown.thing->x : -10000);
    }
    for (ScriptObject* object : objects) {
        object->showPicture(player->picture(object->thing));
    }
    for (ScriptDocument* document : documents) {
        document->showPicture(player->picture(document->thing));
    }
}
