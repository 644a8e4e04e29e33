import 'package:meta/meta.dart';
import 'dart:convert';

class Unknown {
  int id;
  String userName;
  Profile profile;
  List<int> tags;
  List<Item> items;
  Null note;

  Unknown({
    required this.id,
    required this.userName,
    required this.profile,
    required this.tags,
    required this.items,
    this.note,
  });

  factory Unknown.fromJSON(Map<String, dynamic> json) => Unknown(
    id: json["id"],
    userName: json["user_name"],
    profile: Profile.fromJSON(json["profile"]),
    tags: List<int>.from(json["tags"].map((x) => x)),
    items: List<Item>.from(json["items"].map((x) => Item.fromJSON(x))),
    note: json["note"],
  );

  Map<String, dynamic> toJSON() => {
    "id": id,
    "user_name": userName,
    "profile": profile.toJSON(),
    "tags": List<dynamic>.from(tags.map((x) => x)),
    "items": List<dynamic>.from(items.map((x) => x.toJSON())),
    "note": note,
  };
}

class Profile {
  int age;

  Profile({
    required this.age,
  });

  factory Profile.fromJSON(Map<String, dynamic> json) => Profile(
    age: json["age"],
  );

  Map<String, dynamic> toJSON() => {
    "age": age,
  };
}
