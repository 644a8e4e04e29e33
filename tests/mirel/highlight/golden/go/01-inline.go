package main

type Unknown struct {
  ID int `json:"id"`
  FullName string `json:"full_name"`
  Tags []string `json:"tags"`
  Owner struct {
    Login string `json:"login"`
  } `json:"owner"`
  Note interface{} `json:"note"`
}
